// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#pragma once

// Positioned file access through the wide-character Windows API, so that ROM paths outside the
// system code page work. Free of Qt; the Qt adapter converts paths and texts.

#include <cstdint>
#include <memory>
#include <string>

namespace win32file {

struct Status {
    bool exists = false;
    bool regular = false;
    std::int64_t size = 0;
};

// The form of path that the file functions take at any length: from MAX_PATH (260) characters on,
// the full path with the "\\?\" prefix ("\\?\UNC\" for a share); shorter paths as they are.
// Every path below goes through it.
std::wstring extendedPath(const std::wstring& path);

// What a call did. A failure carries a reason, the system's words in UTF-8 (never empty); inUse
// tells that another program's share mode or lock kept this one out. Success is only ever said.
struct Result {
    bool done = false;
    std::string reason;
    bool inUse = false;
};

Status stat(const std::wstring& path);
Result readAt(const std::wstring& path, std::int64_t offset, std::int64_t length, std::string& out);

// An existing plain file opened for reading and writing; closes itself if the caller did not.
class File {
public:
    // Never creates and never truncates; refuses anything that is not a file on a disk. Denies
    // other writers while open.
    static std::unique_ptr<File> openExisting(const std::wstring& path, Result& opened);
    ~File();
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // The file's size into size; a failed query leaves it as it was.
    Result size(std::int64_t& size);
    // Locks every byte of the file, and any it may grow to, against other handles, without
    // waiting: Windows' byte-range locks are mandatory, so a program holding one over the bytes
    // this file checks and writes would otherwise fail the write half-way. Released by close.
    Result lockAll();
    Result readAt(std::int64_t offset, std::int64_t length, std::string& out);
    Result writeAt(std::int64_t offset, const std::string& bytes);
    Result flush();
    Result close();

private:
    explicit File(void* handle) : m_handle(handle) {}
    void* m_handle;
    bool m_locked = false;
};

// The system's message for a Win32 error code, in UTF-8.
std::string errorText(unsigned long error);

} // namespace win32file
