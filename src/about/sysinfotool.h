// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#pragma once

#include <memory>

// The system's information tool, as the About box's "System Info..." button starts it.
class SystemInfoTool {
public:
    virtual ~SystemInfoTool() = default;
    // Finds the tool and starts it as a program of its own, without waiting for it; false when it
    // is unavailable (none found, or it would not start), which the caller tells the user.
    virtual bool start() = 0;
};

// MSINFO32, found through the registry, on Windows; on Linux the first system information
// program on PATH.
std::unique_ptr<SystemInfoTool> createSystemInfoTool();
