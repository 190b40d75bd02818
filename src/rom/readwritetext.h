// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#pragma once

#include "rom/romcontext.h"

#include <QtGlobal>

#include <optional>
#include <string>

// Runs of the ROM file's bytes as byte text, for identification, the slot table and its writing:
// one char per byte, the char's value being the byte's; 0x00 and bytes from 0x80 on travel like
// any other.
namespace readwritetext {

// Reads length bytes at offset from the file named by rom.romPath, opening and closing it within
// the call. Bytes past the end of the file read as 0x00. None when the file could not be read (the
// caller tells the user). Length 0 returns empty text without touching the file.
std::optional<std::string> readText(const RomContext& rom, qint32 offset, qint16 length);

// Reads length bytes at offset from a file the caller has opened, into out, with the same padding;
// on failure out is empty and the reason is the system's words. The file stays open.
IoResult readText(RomFile& file, qint64 offset, qint64 length, std::string& out);

// Writes every byte of text at offset into a file the caller has opened; empty text writes
// nothing. The file stays open.
IoResult writeText(RomFile& file, qint32 offset, const std::string& text);

} // namespace readwritetext
