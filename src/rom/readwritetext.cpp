// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "rom/readwritetext.h"

namespace readwritetext {

std::optional<std::string> readText(const RomContext& rom, qint32 offset, qint16 length) {
    if (length == 0)
        return std::string();
    std::string bytes;
    if (!rom.fs.readAt(rom.romPath, offset, length, bytes).ok())
        return std::nullopt;
    // A short image is not an error here; the zeros never match a header literal.
    bytes.resize(static_cast<std::size_t>(length), '\0');
    return bytes;
}

IoResult writeText(RomFile& file, qint32 offset, const std::string& text) {
    if (text.empty())
        return {};
    return file.writeAt(offset, text);
}

} // namespace readwritetext
