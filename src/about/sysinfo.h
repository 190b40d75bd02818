// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#pragma once

#include "about/registry.h"

#include <cstdint>
#include <functional>
#include <string>

// Finds the system information tool through two registry locations and starts it. Texts are
// 8-bit system code page strings, as the registry hands them over. Free of Qt, so the Windows
// build of this logic can be tested against the real registry.
namespace sysinfo {

// Read access only: the write rights the tool's own documentation asks for are refused to
// standard users, who would then be told the tool is unavailable although it is installed.
inline constexpr std::uint32_t keyRead = 0x20019; // KEY_READ

enum class KeyRead {
    Read,     // KeyVal holds the value
    NotFound, // no such key or value, or more data than the buffer holds; KeyVal is empty
    Failed,   // the value has no data at all; the caller reports it as a failure
};

// Reads value SubKeyRef of key KeyName under KeyRoot as text: REG_SZ without its terminating NUL,
// REG_DWORD as "&h" and its bytes most significant first (a leading zero byte dropped); any other
// type leaves KeyVal as it was.
KeyRead GetKeyValue(Registry& registry, std::uint32_t KeyRoot, const std::string& KeyName,
                    const std::string& SubKeyRef, std::string& KeyVal);

struct Platform {
    Registry& registry;
    // Whether a plain file (not a folder, hidden or system file) exists at path.
    std::function<bool(const std::string& path)> plainFileExists;
    // Starts the program named by commandLine; false when nothing could be started.
    std::function<bool(const std::string& commandLine)> launch;
};

// Looks the tool up and launches it; false when the user must be told it is unavailable.
bool launchSysInfo(Platform& platform);

// The platform's own file lookup and launcher.
bool systemPlainFileExists(const std::string& path);
bool systemLaunch(const std::string& commandLine);

// A Windows command line that starts program and nothing else: quoted unless it already is.
std::string quotedCommandLine(const std::string& program);

} // namespace sysinfo
