// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#pragma once

#include <QString>
#include <QtGlobal>

#include <string>
#include <string_view>

// Synthetic cartridge images: the header bytes and slot table the program reads, a varied filler
// elsewhere so that a read or write at a wrong offset shows.
namespace romimage {

inline constexpr qint64 defaultSize = 0x60000;

// An image that identifies as the variant of that name (cut off at size, header included); for an
// editable variant the slot table holds its factory order. Any other name (say "Error!") gives a
// Mega Drive header with another game's serial.
std::string build(std::string_view variant, qint64 size = defaultSize);

void put(std::string& image, qint64 offset, std::string_view bytes);

// Writes bytes to dir/name and returns the full path.
QString writeFile(const QString& dir, const QString& name, const std::string& bytes);
std::string readFile(const QString& path);

} // namespace romimage
