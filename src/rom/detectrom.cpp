// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "rom/detectrom.h"

#include "rom/readwritetext.h"

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
    // Kept on purpose: see HACKING.md, "Behaviour kept on purpose".
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot < 0 ? QString() : path.mid(dot + 1).toLower();
    return extension == QLatin1String("bin") || extension == QLatin1String("gen");
}

} // namespace

std::optional<RomVariant> variantOf(const QString& path, const ByteReader& read) {
    if (!hasEditableExtension(path))
        return std::nullopt;
    if (!readEqualsAny(read, 0x100, "SEGA MEGA DRIVE", "SEGA GENESIS   "))
        return std::nullopt;

    const std::string serial = read(0x183, 11);
    if (serial == "T-120096-50")
        return readEquals(read, 0x18E, "~P") ? RomVariant::Zoomlet2JCart : RomVariant::Zoomlet2;
    if (serial != "00000000-00")
        return std::nullopt;

    // This order is binding: a "SEGA" maker field wins whatever the vector bytes hold.
    if (readEquals(read, 0x113, "SEGA"))
        return RomVariant::ZoomletMilitary;
    const std::string vector = read(0x00A, 1);
    if (vector == "z")
        return RomVariant::Zoomlet1U;
    if (vector == "y")
        return RomVariant::Zoomlet1E;
    return readEquals(read, 0x000, "DNLD") ? RomVariant::Zoomlet96JCart : RomVariant::Zoomlet96;
}

Identification identifyROM(RomContext& rom, const QString& path) {
    Identification identification;
    const FileStatus status = rom.fs.stat(path);
    if (!status.exists || !status.regular)
        return identification;
    identification.plainFile = true;
    rom.romVariant = variantOf(path, [&](qint32 offset, qint16 length) {
        const std::optional<std::string> bytes = readwritetext::readText(rom, offset, length);
        identification.failedReads += bytes ? 0 : 1;
        return bytes.value_or(std::string());
    });
    return identification;
}

} // namespace detectROM
