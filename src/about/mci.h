// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#pragma once

#include <cstdint>
#include <memory>
#include <string>

// An MCI command-string interpreter, as the About box's music uses it: one 8-bit command text in,
// 0 or an MCI error code out, and the command's text reply NUL-terminated in reply (when given)
// within capacity characters.
class Mci {
public:
    virtual ~Mci() = default;
    virtual std::uint32_t sendString(const std::string& command, char* reply,
                                     std::uint32_t capacity) = 0;
};

// The platform's interpreter: winmm on Windows, our own FluidSynth-backed one elsewhere.
std::unique_ptr<Mci> createSystemMci();
