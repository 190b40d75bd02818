// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#pragma once

#include "rom/romcontext.h"

#include <QString>

#include <functional>
#include <optional>
#include <string>

// Names the ROM variant from the file name's extension and a few cartridge header bytes.
namespace detectROM {

struct Identification {
    bool plainFile = false; // false: path names no existing plain file (an empty path included)
    int failedReads = 0;    // reads that found the file gone or unreadable; each read as no bytes
};

// Sets rom.romVariant: the variant, or none for a file of no variant it knows. Reads nothing when
// path names no existing plain file. Reads go through readText and so through rom.romPath, which
// must equal path.
[[nodiscard]] Identification identifyROM(RomContext& rom, const QString& path);

// Reads length bytes at offset; bytes the file does not have come back as 0x00 or not at all.
using ByteReader = std::function<std::string(qint32 offset, qint16 length)>;

// The variant that path's name and the bytes given by read make, reading only the bytes the
// decision reaches, in the order it reaches them. Save and Reset use it to recheck an open file.
std::optional<RomVariant> variantOf(const QString& path, const ByteReader& read);

} // namespace detectROM
