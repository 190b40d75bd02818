// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#pragma once

// The words the file access gives where the system has none of its own, the same on every system.
// Free of Qt, for the Windows layers too.
namespace iotexts {

inline constexpr const char* notAPlainFile = "It is not a plain file.";
inline constexpr const char* partWritten = "The disk accepted only part of the data.";
inline constexpr const char* noReason = "The system gave no reason.";

} // namespace iotexts
