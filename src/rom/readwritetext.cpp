// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "rom/readwritetext.h"

namespace readwritetext {
namespace {

// A short image is not an error here; the zeros never match a header literal.
IoResult padded(const IoResult& read, qint64 length, std::string& bytes) {
    if (read.ok())
        bytes.resize(static_cast<std::size_t>(length), '\0');
    else
        bytes.clear();
    return read;
}

} // namespace

std::optional<std::string> readText(const RomContext& rom, qint32 offset, qint16 length) {
    if (length == 0)
        return std::string();
    std::string bytes;
    if (!padded(rom.fs.readAt(rom.romPath, offset, length, bytes), length, bytes).ok())
        return std::nullopt;
    return bytes;
}

IoResult readText(RomFile& file, qint64 offset, qint64 length, std::string& out) {
    return padded(file.readAt(offset, length, out), length, out);
}

IoResult writeText(RomFile& file, qint32 offset, const std::string& text) {
    if (text.empty())
        return IoResult::success();
    return file.writeAt(offset, text);
}

} // namespace readwritetext
