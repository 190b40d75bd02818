// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "about/registry.h"

#include <windows.h>

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

std::unique_ptr<Registry> createSystemRegistry() {
    return std::make_unique<WinRegistry>();
}
