// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#pragma once

#include <cstdint>
#include <memory>
#include <string>

// The three registry calls the System Info button needs, with the Windows semantics: 0 means
// success, anything else is an error code. Names and values are 8-bit system code page text.
class Registry {
public:
    using Key = std::uintptr_t;
    static constexpr std::uint32_t localMachine = 0x80000002; // HKEY_LOCAL_MACHINE
    static constexpr std::uint32_t typeText = 1;              // REG_SZ
    static constexpr std::uint32_t typeExpandText = 2;        // REG_EXPAND_SZ
    static constexpr std::uint32_t typeNumber = 4; // REG_DWORD, least significant byte first
    static constexpr long errorNotFound = 2;       // ERROR_FILE_NOT_FOUND
    static constexpr long errorMoreData = 234;     // ERROR_MORE_DATA

    virtual ~Registry() = default;
    virtual long openKey(std::uint32_t root, const std::string& path, std::uint32_t access,
                         Key& key) = 0;
    // On entry size is the capacity of data; on success the number of bytes written.
    virtual long queryValue(Key key, const std::string& name, std::uint32_t& type,
                            unsigned char* data, std::uint32_t& size) = 0;
    virtual void closeKey(Key key) = 0;
};

// The platform's registry: advapi32 on Windows, a read-only stand-in elsewhere.
std::unique_ptr<Registry> createSystemRegistry();
