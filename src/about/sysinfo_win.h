// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// Kept on purpose: see HACKING.md, "Behaviour kept on purpose".
// The system information tool on Windows: MSINFO32, found through two registry locations, free of
// Qt so that it can be tested against the real registry. Texts are 8-bit, in the program's code
// page (UTF-8, by its manifest), as the registry hands them over.

// The three registry calls the System Info button needs, with the Windows semantics: 0 means
// success, anything else is an error code. Names and values are 8-bit, in the program's code page.
class Registry {
public:
    using Key = std::uintptr_t;
    static constexpr std::uint32_t localMachine = 0x80000002; // HKEY_LOCAL_MACHINE
    static constexpr std::uint32_t typeText = 1;              // REG_SZ
    static constexpr std::uint32_t typeNumber = 4; // REG_DWORD, least significant byte first

    virtual ~Registry() = default;
    virtual long openKey(std::uint32_t root, const std::string& path, std::uint32_t access,
                         Key& key) = 0;
    // On entry size is the capacity of data; on success the number of bytes written.
    virtual long queryValue(Key key, const std::string& name, std::uint32_t& type,
                            unsigned char* data, std::uint32_t& size) = 0;
    virtual void closeKey(Key key) = 0;
};

namespace sysinfo {

// Read access only: the write rights the tool's own documentation asks for are refused to
// standard users, who would then be told the tool is unavailable although it is installed.
inline constexpr std::uint32_t keyRead = 0x20019; // KEY_READ

enum class KeyRead {
    Read,     // value holds the value
    NotFound, // no such key or value, or more data than the buffer holds; value is empty
    Failed,   // the value has no data at all; the caller reports it as a failure
};

// Reads value valueName of key keyPath under root as text: REG_SZ without its terminating NUL,
// REG_DWORD as "&h" and its bytes most significant first (a leading zero byte dropped); any other
// type leaves value as it was.
KeyRead readKeyValue(Registry& registry, std::uint32_t root, const std::string& keyPath,
                     const std::string& valueName, std::string& value);

struct Platform {
    Registry& registry;
    // Whether a plain file (not a folder, hidden or system file) exists at path.
    std::function<bool(const std::string& path)> plainFileExists;
    // Starts the program named by commandLine; false when nothing could be started.
    std::function<bool(const std::string& commandLine)> launch;
};

// Looks the tool up and launches it; false when the user must be told it is unavailable.
bool launchSysInfo(Platform& platform);

// The system's own file lookup and launcher, and its registry.
bool systemPlainFileExists(const std::string& path);
bool systemLaunch(const std::string& commandLine);
std::unique_ptr<Registry> createSystemRegistry();

// A Windows command line that starts program and nothing else: quoted unless it already is.
std::string quotedCommandLine(const std::string& program);

} // namespace sysinfo
