// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
// The real Windows layers against Wine's advapi32, winmm and kernel32; the script writes the keys.
#include "about/mci.h"
#include "about/registry.h"
#include "about/sysinfo.h"
#include "rom/win32file.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

int passed = 0;
int failed = 0;

void check(bool ok, const char* what, int line) {
    ok ? ++passed : ++failed;
    if (!ok)
        std::printf("FAILED line %d: %s\n", line, what);
}
#define CHECK(condition) check((condition), #condition, __LINE__)

void registryAndLauncher(Registry& registry) {
    const std::pair<const char*, std::string> values[] = {
        {"Sz", "hello world"}, {"Dw", "&h000105"}, {"Ex", "before"}, {"Long", ""}, {"Missing", ""}};
    for (const auto& [name, expected] : values) {
        std::string value = "before";
        sysinfo::GetKeyValue(registry, Registry::localMachine, "Software\\LopwinderTest", name,
                             value);
        check(value == expected, name, __LINE__);
    }

    CreateDirectoryA("C:\\Lopwinder Quoting", nullptr);
    CopyFileA("C:\\windows\\system32\\hostname.exe", "C:\\Lopwinder Quoting\\plain.exe", FALSE);
    CHECK(sysinfo::systemPlainFileExists("C:\\Lopwinder Quoting\\plain.exe"));
    CHECK(!sysinfo::systemPlainFileExists("C:\\Lopwinder Quoting"));
    // "C:\Lopwinder.exe" must not start in place of a missing tool in "C:\Lopwinder Quoting".
    CopyFileA("C:\\windows\\system32\\hostname.exe", "C:\\Lopwinder.exe", FALSE);
    CHECK(!sysinfo::systemLaunch("C:\\Lopwinder Quoting\\tool.exe"));
    CHECK(sysinfo::systemLaunch("C:\\Lopwinder Quoting\\plain.exe"));
}

void files(const std::wstring& folder) {
    const std::wstring path = folder + L"\\rom \u00df.bin";
    CreateDirectoryW((L"\\\\?\\" + folder).c_str(), nullptr);
    HANDLE file = CreateFileW((L"\\\\?\\" + path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    const std::string bytes("0123456\0\xff"
                            "9abcdef",
                            16);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);

    const win32file::Status status = win32file::stat(path);
    CHECK(status.exists && status.regular && status.size == 16 && !win32file::stat(folder).regular);
    std::string out;
    CHECK(win32file::readAt(path, 12, 10, out).empty() && out == bytes.substr(12));
    std::string reason;
    bool inUse = true;
    CHECK(!win32file::File::openExisting(folder + L"\\missing.bin", reason, inUse) &&
          !reason.empty() && !inUse);
    CHECK(!win32file::stat(folder + L"\\missing.bin").exists); // not created
    // A device at the path is refused, not read or written.
    CHECK(!win32file::File::openExisting(L"\\\\.\\NUL", reason, inUse) &&
          !win32file::readAt(L"\\\\.\\NUL", 0, 4, out).empty());
    auto rom = win32file::File::openExisting(path, reason, inUse);
    CHECK(rom && rom->lockAll(inUse).empty() && !inUse);
    CHECK(rom && rom->readAt(6, 4, out).empty() && out == bytes.substr(6, 4));
    // A second writer, Lopwinder or another program, is told the file is in use.
    CHECK(!win32file::File::openExisting(path, reason, inUse) && inUse);
    CHECK(rom && rom->writeAt(10, std::string("\0\x80", 2)).empty() && rom->flush().empty() &&
          rom->close().empty());
    CHECK(win32file::readAt(path, 0, 100, out).empty() &&
          out == std::string(bytes).replace(10, 2, std::string("\0\x80", 2)));
}

// What another program does that holds a byte-range lock over a ROM's table: opens it for reading,
// sharing it for writing, locks bytes 4 to 7, and lets go when told.
int holdLock(const wchar_t* path) {
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    OVERLAPPED table{};
    table.Offset = 4;
    if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 4, 0, &table))
        return 1;
    SetEvent(OpenEventW(EVENT_MODIFY_STATE, FALSE, L"LopwinderTestHeld"));
    WaitForSingleObject(OpenEventW(SYNCHRONIZE, FALSE, L"LopwinderTestRelease"), INFINITE);
    UnlockFileEx(file, 0, 4, 0, &table);
    CloseHandle(file);
    return 0;
}

// Another program's lock over the table is met before anything is read or written; once it lets
// go, the same file is written.
void lockedByAnotherProgram() {
    const std::wstring path = L"C:\\lopwinder locked.bin";
    const std::string bytes = "0123456789abcdef";
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);

    HANDLE held = CreateEventW(nullptr, TRUE, FALSE, L"LopwinderTestHeld");
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, L"LopwinderTestRelease");
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring commandLine = L"\"" + std::wstring(self) + L"\" --hold \"" + path + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION holder{};
    CHECK(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                         &startup, &holder));
    CHECK(WaitForSingleObject(held, 20000) == WAIT_OBJECT_0);

    std::string reason, out;
    bool inUse = false;
    auto rom = win32file::File::openExisting(path, reason, inUse);
    CHECK(rom && !rom->lockAll(inUse).empty() && inUse);
    rom.reset();
    CHECK(win32file::readAt(path, 0, 100, out).empty() && out == bytes); // nothing written

    SetEvent(release);
    CHECK(WaitForSingleObject(holder.hProcess, 20000) == WAIT_OBJECT_0);
    rom = win32file::File::openExisting(path, reason, inUse);
    CHECK(rom && rom->lockAll(inUse).empty() && !inUse && rom->writeAt(4, "WXYZ").empty() &&
          rom->flush().empty() && rom->close().empty());
    CHECK(win32file::readAt(path, 0, 100, out).empty() && out == "0123WXYZ89abcdef");
    CloseHandle(holder.hThread), CloseHandle(holder.hProcess), CloseHandle(held),
        CloseHandle(release);
}

} // namespace

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argc == 3 && std::wstring(argv[1]) == L"--hold")
        return holdLock(argv[2]);
    // It writes files into C:\ and reads keys the calling script wrote under HKLM: only a
    // throw-away Wine prefix may suffer that.
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    if (ntdll == nullptr || GetProcAddress(ntdll, "wine_get_version") == nullptr) {
        std::printf("Not running under Wine: these checks change the system, so they stop here.\n");
        return 2;
    }
    registryAndLauncher(*createSystemRegistry());
    files(L"C:\\R\u00e4der \u901f\u3044");
    // A ROM about 300 characters deep, as the Open dialog may return it.
    std::wstring deep = L"C:";
    for (int i = 0; i < 12; ++i)
        CreateDirectoryW(
            (L"\\\\?\\" + (deep += L"\\folder " + std::to_wstring(i) + L" of a deep tree")).c_str(),
            nullptr);
    CHECK(deep.size() > 270 &&
          win32file::extendedPath(deep + L"\\x") == L"\\\\?\\" + deep + L"\\x" &&
          win32file::extendedPath(L"\\\\nas\\roms" + deep.substr(2)) ==
              L"\\\\?\\UNC\\nas\\roms" + deep.substr(2) &&
          win32file::extendedPath(L"C:\\a\\..\\b.bin") == L"C:\\a\\..\\b.bin"); // short: as it is
    files(deep);
    lockedByAnotherProgram();
    // MCIERR_FILE_NOT_FOUND: the path with its blank was read whole.
    CHECK(createSystemMci()->sendString(
              "open \"C:\\Lopwinder Quoting\\no such.dat\" type sequencer alias m", nullptr, 0) ==
          275);
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
