// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "about/sysinfo_win.h"

#include "app/hexbyte.h"

#include <windows.h>

#include <array>
#include <vector>

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

KeyRead readKeyValue(Registry& registry, std::uint32_t root, const std::string& keyPath,
                     const std::string& valueName, std::string& value) {
    const OpenKey key(registry, root, keyPath);
    std::array<unsigned char, bufferSize> buffer{};
    std::uint32_t size = bufferSize;
    std::uint32_t type = 0;
    if (!key.isOpen() ||
        registry.queryValue(key.key(), valueName, type, buffer.data(), size) != 0 ||
        size > bufferSize) {
        value.clear();
        return KeyRead::NotFound;
    }
    if (size == 0)
        return KeyRead::Failed;
    if (buffer[size - 1] == 0)
        --size;

    if (type == Registry::typeText) {
        value.assign(reinterpret_cast<const char*>(buffer.data()), size);
    } else if (type == Registry::typeNumber) {
        // Kept on purpose: see HACKING.md, "Behaviour kept on purpose".
        value = "&h";
        for (std::uint32_t i = size; i > 0; --i)
            value += hexByte(buffer[i - 1]);
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
    switch (readKeyValue(platform.registry, Registry::localMachine,
                         "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", p)) {
    case KeyRead::Read:
        // As it stands, without a file check. Kept on purpose: see HACKING.md, "Behaviour kept on
        // purpose".
        return platform.launch(p);
    case KeyRead::Failed:
        return false;
    case KeyRead::NotFound:
        break;
    }
    if (readKeyValue(platform.registry, Registry::localMachine,
                     "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", p) != KeyRead::Read)
        return false;
    p += "\\MSINFO32.EXE";
    return platform.plainFileExists(p) && platform.launch(p);
}

bool systemPlainFileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes &
            (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
}

bool systemLaunch(const std::string& commandLine) {
    if (commandLine.empty())
        return false;
    const std::string quoted = quotedCommandLine(commandLine);
    std::vector<char> mutableLine(quoted.begin(), quoted.end());
    mutableLine.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL; // a normal window that takes the focus
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return false;
    // Not waited for: the tool runs on its own.
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

} // namespace sysinfo

namespace {

HKEY rootKey(std::uint32_t root) {
    // The predefined keys are sign-extended 32-bit values: 0x80000002 is 0xFFFFFFFF80000002.
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
}

class WinRegistry final : public Registry {
public:
    long openKey(std::uint32_t root, const std::string& path, std::uint32_t access,
                 Key& key) override {
        HKEY opened = nullptr;
        const LONG rc = RegOpenKeyExA(rootKey(root), path.c_str(), 0, access, &opened);
        if (rc == ERROR_SUCCESS)
            key = reinterpret_cast<Key>(opened);
        return rc;
    }

    long queryValue(Key key, const std::string& name, std::uint32_t& type, unsigned char* data,
                    std::uint32_t& size) override {
        DWORD valueType = 0;
        DWORD valueSize = size;
        const LONG rc = RegQueryValueExA(reinterpret_cast<HKEY>(key), name.c_str(), nullptr,
                                         &valueType, data, &valueSize);
        if (rc == ERROR_SUCCESS) {
            type = valueType;
            size = valueSize;
        }
        return rc;
    }

    void closeKey(Key key) override { RegCloseKey(reinterpret_cast<HKEY>(key)); }
};

} // namespace

std::unique_ptr<Registry> sysinfo::createSystemRegistry() {
    return std::make_unique<WinRegistry>();
}
