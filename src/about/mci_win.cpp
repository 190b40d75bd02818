// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "about/mci.h"

#include <windows.h>

#include <mmsystem.h>

namespace {

class WinMci final : public Mci {
public:
    std::uint32_t sendString(const std::string& command, char* reply,
                             std::uint32_t capacity) override {
        // The command goes to winmm as it is: 8-bit text in the system code page.
        return mciSendStringA(command.c_str(), reply, capacity, nullptr);
    }
};

} // namespace

std::unique_ptr<Mci> createSystemMci() {
    return std::make_unique<WinMci>();
}
