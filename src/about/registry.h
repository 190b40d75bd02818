#pragma once

#include <QtGlobal>

#include <memory>
#include <string>

// The three registry calls the System Info button needs, with the Windows semantics: 0 means
// success, anything else is an error code. Names and values are 8-bit system code page text.
class Registry {
public:
    using Key = quintptr;
    static constexpr quint32 localMachine = 0x80000002; // HKEY_LOCAL_MACHINE
    static constexpr quint32 typeText = 1;              // REG_SZ
    static constexpr quint32 typeExpandText = 2;        // REG_EXPAND_SZ
    static constexpr quint32 typeNumber = 4;            // REG_DWORD, least significant byte first
    static constexpr long errorNotFound = 2;            // ERROR_FILE_NOT_FOUND
    static constexpr long errorMoreData = 234;          // ERROR_MORE_DATA

    virtual ~Registry() = default;
    virtual long openKey(quint32 root, const std::string& path, quint32 access, Key& key) = 0;
    // On entry size is the capacity of data; on success the number of bytes written.
    virtual long queryValue(Key key, const std::string& name, quint32& type, unsigned char* data,
                            quint32& size) = 0;
    virtual void closeKey(Key key) = 0;
};

// The platform's registry: advapi32 on Windows, a read-only stand-in elsewhere.
std::unique_ptr<Registry> createSystemRegistry();
