// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "rom/win32file.h"

#include "rom/iotexts.h"

#include <windows.h>

namespace win32file {
namespace {

OVERLAPPED at(std::int64_t offset) {
    OVERLAPPED position{};
    position.Offset = static_cast<DWORD>(offset & 0xFFFFFFFF);
    position.OffsetHigh = static_cast<DWORD>(static_cast<std::uint64_t>(offset) >> 32);
    return position;
}

Status statusOf(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(handle, &info))
        return {};
    Status status;
    status.exists = true;
    status.regular = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    status.size = static_cast<std::int64_t>((static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) |
                                            info.nFileSizeLow);
    return status;
}

class Handle {
public:
    explicit Handle(HANDLE handle) : m_handle(handle) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() {
        if (valid())
            CloseHandle(m_handle);
    }
    bool valid() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return m_handle; }

private:
    HANDLE m_handle;
};

const Result succeeded{true, {}, false};

// reason: errorText's words, which are never empty, or one of the texts of iotexts.h.
Result failure(std::string reason) {
    return {false, std::move(reason), false};
}

// The last error of the calling thread, which another program's share mode or lock may have caused.
Result lastError() {
    const DWORD error = GetLastError();
    return {false, errorText(error),
            error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION};
}

// Pipes and devices opened by name are refused before anything is read from or written to them.
bool onDisk(HANDLE handle) {
    return GetFileType(handle) == FILE_TYPE_DISK;
}

Result readHandle(HANDLE handle, std::int64_t offset, std::int64_t length, std::string& out) {
    out.resize(static_cast<std::size_t>(length));
    std::size_t done = 0;
    while (done < out.size()) {
        OVERLAPPED position = at(offset + static_cast<std::int64_t>(done));
        DWORD got = 0;
        if (!ReadFile(handle, out.data() + done, static_cast<DWORD>(out.size() - done), &got,
                      &position)) {
            const DWORD error = GetLastError();
            if (error == ERROR_HANDLE_EOF)
                break;
            out.clear();
            return failure(errorText(error));
        }
        if (got == 0)
            break;
        done += got;
    }
    out.resize(done);
    return succeeded;
}

} // namespace

std::string errorText(unsigned long error) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string utf8;
    if (length > 0 && text != nullptr) {
        const int size = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0,
                                             nullptr, nullptr);
        utf8.resize(static_cast<std::size_t>(size));
        WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), utf8.data(), size, nullptr,
                            nullptr);
    }
    LocalFree(text);
    while (!utf8.empty() && (utf8.back() == '\n' || utf8.back() == '\r' || utf8.back() == ' '))
        utf8.pop_back();
    return utf8.empty() ? "Windows error " + std::to_string(error) : utf8;
}

std::wstring extendedPath(const std::wstring& path) {
    if (path.size() < MAX_PATH || path.rfind(L"\\\\?\\", 0) == 0 || path.rfind(L"\\\\.\\", 0) == 0)
        return path;
    // The prefix turns off the system's own clean-up of the path, so it is made full and clean
    // (no "." or "..", no "/") first; the wide function takes any length.
    std::wstring full(GetFullPathNameW(path.c_str(), 0, nullptr, nullptr), L'\0');
    const DWORD length =
        full.empty()
            ? 0
            : GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0 || length >= full.size())
        return path;
    full.resize(length);
    return full.rfind(L"\\\\", 0) == 0 ? L"\\\\?\\UNC\\" + full.substr(2) : L"\\\\?\\" + full;
}

Status stat(const std::wstring& path) {
    if (path.empty())
        return {};
    // Backup semantics let the same call look at folders, which are then not regular files.
    const Handle handle(CreateFileW(extendedPath(path).c_str(), 0,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!handle.valid())
        return {};
    return statusOf(handle.get());
}

Result readAt(const std::wstring& path, std::int64_t offset, std::int64_t length,
              std::string& out) {
    out.clear();
    const Handle handle(CreateFileW(extendedPath(path).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle.valid())
        return lastError();
    if (!onDisk(handle.get()))
        return failure(iotexts::notAPlainFile);
    return readHandle(handle.get(), offset, length, out);
}

std::unique_ptr<File> File::openExisting(const std::wstring& path, Result& opened) {
    // OPEN_EXISTING: a ROM that vanished since start-up must not come back as an empty file.
    HANDLE handle =
        CreateFileW(extendedPath(path).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        opened = lastError();
        return nullptr;
    }
    if (!onDisk(handle)) {
        CloseHandle(handle);
        opened = failure(iotexts::notAPlainFile);
        return nullptr;
    }
    opened = succeeded;
    return std::unique_ptr<File>(new File(handle));
}

File::~File() {
    close();
}

Result File::size(std::int64_t& size) {
    LARGE_INTEGER bytes{};
    if (!GetFileSizeEx(m_handle, &bytes))
        return lastError();
    size = static_cast<std::int64_t>(bytes.QuadPart);
    return succeeded;
}

Result File::lockAll() {
    OVERLAPPED from = at(0);
    if (!LockFileEx(m_handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD,
                    MAXDWORD, &from))
        return lastError();
    m_locked = true;
    return succeeded;
}

Result File::readAt(std::int64_t offset, std::int64_t length, std::string& out) {
    out.clear();
    return readHandle(m_handle, offset, length, out);
}

Result File::writeAt(std::int64_t offset, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        OVERLAPPED position = at(offset + static_cast<std::int64_t>(done));
        DWORD written = 0;
        if (!WriteFile(m_handle, bytes.data() + done, static_cast<DWORD>(bytes.size() - done),
                       &written, &position))
            return lastError();
        if (written == 0)
            return failure(iotexts::partWritten);
        done += written;
    }
    return succeeded;
}

Result File::flush() {
    return FlushFileBuffers(m_handle) ? succeeded : lastError();
}

Result File::close() {
    if (m_handle == nullptr)
        return succeeded;
    if (m_locked) {
        OVERLAPPED from = at(0);
        UnlockFileEx(m_handle, 0, MAXDWORD, MAXDWORD, &from);
        m_locked = false;
    }
    const BOOL closed = CloseHandle(m_handle);
    m_handle = nullptr;
    return closed ? succeeded : lastError();
}

} // namespace win32file
