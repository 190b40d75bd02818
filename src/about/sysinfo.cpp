// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "about/sysinfo.h"

#include <array>
#include <cstdio>

namespace sysinfo {
namespace {

constexpr std::uint32_t bufferSize = 1024;

class OpenKey {
public:
    OpenKey(Registry& registry, std::uint32_t root, const std::string& path)
        : m_registry(registry) {
        m_open = registry.openKey(root, path, keyRead, m_key) == 0;
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    ~OpenKey() {
        if (m_open)
            m_registry.closeKey(m_key);
    }
    bool isOpen() const { return m_open; }
    Registry::Key key() const { return m_key; }

private:
    Registry& m_registry;
    Registry::Key m_key = 0;
    bool m_open = false;
};

} // namespace

KeyRead GetKeyValue(Registry& registry, std::uint32_t KeyRoot, const std::string& KeyName,
                    const std::string& SubKeyRef, std::string& KeyVal) {
    const OpenKey key(registry, KeyRoot, KeyName);
    std::array<unsigned char, bufferSize> buffer{};
    std::uint32_t size = bufferSize;
    std::uint32_t type = 0;
    if (!key.isOpen() ||
        registry.queryValue(key.key(), SubKeyRef, type, buffer.data(), size) != 0 ||
        size > bufferSize) {
        KeyVal.clear();
        return KeyRead::NotFound;
    }
    if (size == 0)
        return KeyRead::Failed;
    if (buffer[size - 1] == 0)
        --size;

    if (type == Registry::typeText) {
        KeyVal.assign(reinterpret_cast<const char*>(buffer.data()), size);
    } else if (type == Registry::typeNumber) {
        KeyVal = "&h";
        for (std::uint32_t i = size; i > 0; --i) {
            char digits[3];
            std::snprintf(digits, sizeof digits, "%02X", buffer[i - 1]);
            KeyVal += digits;
        }
    }
    return KeyRead::Read;
}

std::string quotedCommandLine(const std::string& program) {
    // Unquoted, "C:\Program Files\x.exe" would first try to run "C:\Program.exe".
    if (program.size() >= 2 && program.front() == '"' && program.back() == '"')
        return program;
    return '"' + program + '"';
}

bool launchSysInfo(Platform& platform) {
    std::string p;
    switch (GetKeyValue(platform.registry, Registry::localMachine,
                        "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", p)) {
    case KeyRead::Read:
        return platform.launch(p); // as it stands, without a file check
    case KeyRead::Failed:
        return false;
    case KeyRead::NotFound:
        break;
    }
    if (GetKeyValue(platform.registry, Registry::localMachine,
                    "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", p) != KeyRead::Read)
        return false;
    p += "\\MSINFO32.EXE";
    return platform.plainFileExists(p) && platform.launch(p);
}

} // namespace sysinfo
