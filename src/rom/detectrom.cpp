// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "rom/detectrom.h"

#include "rom/readwritetext.h"
#include "rom/variantnames.h"

#include <string_view>

namespace detectROM {
namespace {

// Each read takes exactly as many bytes as the literals it is compared with.
bool readEquals(const ByteReader& read, qint32 offset, std::string_view literal) {
    return read(offset, static_cast<qint16>(literal.size())) == literal;
}

bool readEqualsAny(const ByteReader& read, qint32 offset, std::string_view a, std::string_view b) {
    const std::string bytes = read(offset, static_cast<qint16>(a.size()));
    return bytes == a || bytes == b;
}

bool hasEditableExtension(const QString& path) {
    // The last dot of the whole path, directories included.
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot < 0 ? QString() : path.mid(dot + 1).toLower();
    return extension == QLatin1String("bin") || extension == QLatin1String("gen");
}

} // namespace

std::string_view variantOf(const QString& path, const ByteReader& read) {
    using namespace variantnames;
    if (!hasEditableExtension(path))
        return error;
    if (!readEqualsAny(read, 0x100, "SEGA MEGA DRIVE", "SEGA GENESIS   "))
        return error;

    const std::string serial = read(0x183, 11);
    if (serial == "T-120096-50")
        return readEquals(read, 0x18E, "~P") ? zoomlet2JCart : zoomlet2;
    if (serial != "00000000-00")
        return error;

    // This order is binding: a "SEGA" maker field wins whatever the vector bytes hold.
    if (readEquals(read, 0x113, "SEGA"))
        return zoomletMilitary;
    const std::string vector = read(0x00A, 1);
    if (vector == "z")
        return zoomlet1U;
    if (vector == "y")
        return zoomlet1E;
    return readEquals(read, 0x000, "DNLD") ? zoomlet96JCart : zoomlet96;
}

bool identifyROM(RomContext& rom, const QString& path) {
    const FileStatus status = rom.fs.stat(path);
    if (!status.exists || !status.regular)
        return false;
    rom.romVariant = std::string(variantOf(path, [&rom](qint32 offset, qint16 length) {
        return readwritetext::readText(rom, offset, length);
    }));
    return true;
}

} // namespace detectROM
