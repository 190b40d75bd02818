// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#pragma once

#include <string>

// A byte as two upper-case hexadecimal digits, zero first where needed: how track IDs are
// labelled and how a registry number is read out. Free of Qt, for the Windows layers too.
inline std::string hexByte(unsigned char byte) {
    constexpr char digits[] = "0123456789ABCDEF";
    return {digits[byte >> 4], digits[byte & 0x0F]};
}
