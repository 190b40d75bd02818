// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
// The real Windows layers against Wine's advapi32, winmm and kernel32.
#include "about/mcimusic_win.h"
#include "about/sysinfo_win.h"
#include "rom/win32file.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

// A folder of this run's own, in the system's temporary folder: what an earlier run left behind,
// there or in another one, never changes this run's verdict. Removed at the end.
std::wstring root;
std::string rootText; // the same, as 8-bit text
// A folder in it whose name the system's code page (1252 here) cannot write.
std::wstring anyName;
std::unique_ptr<Registry> registry;

HKEY createKey(const char* path) {
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                    nullptr);
    return key;
}

void setValue(HKEY key, const char* name, DWORD type, const std::string& data) {
    RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                   static_cast<DWORD>(data.size()));
}

// Text as the program hands it to the 8-bit calls (Qt's local 8-bit form is the code page's).
std::string eightBit(const std::wstring& text, unsigned codePage = CP_ACP) {
    std::string bytes(text.size() * 4, '\0');
    bytes.resize(static_cast<std::size_t>(
        WideCharToMultiByte(codePage, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(),
                            static_cast<int>(bytes.size()), nullptr, nullptr)));
    return bytes;
}

// Values as stored (a text with or without its NUL), and what readKeyValue reads: "!" for no data.
TEST(Registry, ReadsEachKindOfValueAsTheProgramNeedsIt) {
    const HKEY key = createKey("Software\\LopwinderTest");
    const std::tuple<const char*, DWORD, std::string, std::string> values[] = {
        {"Sz", REG_SZ, std::string("hello world\0", 12), "hello world"},
        {"NoNul", REG_SZ, "abc", "abc"},
        {"Dw", REG_DWORD, std::string("\x05\x01\0\0", 4), "&h000105"},
        {"Ex", REG_EXPAND_SZ, std::string("x\0", 2), "before"},
        {"Empty", REG_SZ, "", "!"},
        {"Exact", REG_SZ, std::string(1023, 'y') + '\0', std::string(1023, 'y')},
        {"Long", REG_SZ, std::string(1025, 'y'), ""},
        {"Missing", REG_NONE, "", ""}};
    for (const auto& [name, type, data, expected] : values) {
        if (type != REG_NONE)
            setValue(key, name, type, data);
        std::string value = "before";
        const auto read = sysinfo::readKeyValue(*registry, Registry::localMachine,
                                                "Software\\LopwinderTest", name, value);
        EXPECT_EQ(read == sysinfo::KeyRead::Failed ? "!" : value, expected) << name;
    }
    RegCloseKey(key);
}

// A tool is a plain file, not hidden or of the system, and a path with blanks starts that file.
TEST(SysInfo, StartsOnlyAPlainFileAtThePathGiven) {
    const std::string quoting = rootText + "\\Lopwinder Quoting", plain = quoting + "\\plain.exe";
    CreateDirectoryA(quoting.c_str(), nullptr);
    CopyFileA("C:\\windows\\system32\\hostname.exe", plain.c_str(), FALSE);
    EXPECT_TRUE(sysinfo::systemPlainFileExists(plain));
    EXPECT_FALSE(sysinfo::systemPlainFileExists(quoting));
    EXPECT_FALSE(sysinfo::systemPlainFileExists(quoting + "\\none.exe"));
    for (const DWORD attribute :
         {FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM, FILE_ATTRIBUTE_NORMAL}) {
        ASSERT_TRUE(SetFileAttributesA(plain.c_str(), attribute));
        EXPECT_EQ(sysinfo::systemPlainFileExists(plain), attribute == FILE_ATTRIBUTE_NORMAL);
    }
    // "ROOT\Lopwinder.exe" must not start in place of a missing tool in "ROOT\Lopwinder Quoting".
    CopyFileA("C:\\windows\\system32\\hostname.exe", (rootText + "\\Lopwinder.exe").c_str(), FALSE);
    EXPECT_FALSE(sysinfo::systemLaunch(quoting + "\\tool.exe"));
    EXPECT_TRUE(sysinfo::systemLaunch(plain));
}

// The first location (a text, expandable text, no data, only the key, or nothing), the second (a
// folder, or nothing), whether a launch works; then: files looked for | launched | found.
TEST(SysInfo, LooksInTheTwoLocationsInTurn) {
    const char* first = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
    const char* second = "SOFTWARE\\Microsoft\\Shared Tools Location";
    struct Row {
        const char* name;
        DWORD type; // REG_NONE: the key without the value; REG_LINK here: no first key at all
        std::string path;
        const char* folder;
        bool launchWorks;
        std::string expected;
    };
    const Row rows[] = {
        {"a text", REG_SZ, "C:\\T\\m.exe", "C:\\Other", true, "|[C:\\T\\m.exe]|found"},
        {"a text whose launch fails", REG_SZ, "C:\\gone.exe", "C:\\Other", false,
         "|[C:\\gone.exe]|unavailable"},
        {"an expandable text", REG_EXPAND_SZ, "%X%", "C:\\Other", true, "|[]|unavailable"},
        {"an empty text", REG_SZ, "", "C:\\Other", true, "||unavailable"},
        {"only the key, then the second", REG_NONE, "", "C:\\MSINFO", true,
         "[C:\\MSINFO\\MSINFO32.EXE]|[C:\\MSINFO\\MSINFO32.EXE]|found"},
        {"the second, without the tool", REG_LINK, "", "C:\\None", true,
         "[C:\\None\\MSINFO32.EXE]||unavailable"},
        {"neither", REG_LINK, "", nullptr, true, "||unavailable"}};
    for (const auto& [name, type, path, folder, launchWorks, expected] : rows) {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, first), RegDeleteTreeA(HKEY_LOCAL_MACHINE, second);
        if (type != REG_LINK)
            RegCloseKey(createKey(first));
        if (type != REG_LINK && type != REG_NONE)
            setValue(createKey(first), "PATH", type, path.empty() ? path : path + '\0');
        if (folder)
            setValue(createKey(second), "MSINFO", REG_SZ, std::string(folder) + '\0');
        std::string looked, launched;
        sysinfo::Platform platform{*registry,
                                   [&](const std::string& p) {
                                       return looked += "[" + p + "]", p.find("MSINFO\\") != p.npos;
                                   },
                                   [&](const std::string& line) {
                                       return launched += "[" + line + "]",
                                              launchWorks && !line.empty();
                                   }};
        const bool found = sysinfo::launchSysInfo(platform);
        EXPECT_EQ(looked + "|" + launched + "|" + (found ? "found" : "unavailable"), expected)
            << name;
    }
    // The second location with the system's own file check and launcher: the tool there starts,
    // in a folder whose name the system's code page cannot write.
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, first), RegDeleteTreeA(HKEY_LOCAL_MACHINE, second);
    const std::wstring tool = anyName + L"\\MSINFO32.EXE";
    CopyFileW(L"C:\\windows\\system32\\hostname.exe", tool.c_str(), FALSE);
    setValue(createKey(second), "MSINFO", REG_SZ, eightBit(anyName) + '\0');
    sysinfo::Platform system{*registry, sysinfo::systemPlainFileExists, sysinfo::systemLaunch};
    EXPECT_TRUE(sysinfo::launchSysInfo(system));
    DeleteFileW(tool.c_str());
    EXPECT_FALSE(sysinfo::launchSysInfo(system));
}

// The music over the real winmm, every command and its answer recorded.
struct RealMci {
    std::vector<std::string> sent;
    std::vector<std::uint32_t> answers;
    MciMusic mci{[this](const std::string& command, char* reply, std::uint32_t capacity) {
        sent.push_back(command);
        return answers.emplace_back(mciSendStringA(command.c_str(), reply, capacity, nullptr));
    }};
};

// The music's exact command strings, through the real winmm: a path with a blank is quoted whole
// (MCIERR_FILE_NOT_FOUND, 275, names it), one without is not.
TEST(Mci, SendsTheMusicsExactCommands) {
    RealMci real;
    auto& [sent, answers, mci] = real;
    mci.start("C:\\Lopwinder Quoting\\no such.dat");
    EXPECT_FALSE(mci.isPlaying());
    mci.stop();
    mci.start("C:\\none.dat");
    mci.start("C:\\again.dat"); // what played before is closed first
    EXPECT_EQ(sent, std::vector<std::string>(
                        {"open \"C:\\Lopwinder Quoting\\no such.dat\" type sequencer alias midwhee",
                         "play midwhee", "status midwhee mode", "close midwhee",
                         "open C:\\none.dat type sequencer alias midwhee", "play midwhee",
                         "close midwhee", "open C:\\again.dat type sequencer alias midwhee",
                         "play midwhee"}));
    EXPECT_EQ(answers[0], 275u);
}

TEST(Mci, PlaysExactlyWhileTheModeBeginsPlaying) {
    // Playing exactly while the device's mode reply, read into a fresh buffer of 255 characters at
    // every poll ("."), begins "playing" ("1").
    const char* replies[] = {"playing", "playing sequencer", "stopped", "", "play"};
    std::string seen;
    MciMusic scripted([&](const std::string&, char* reply, std::uint32_t capacity) {
        seen += reply[0] == '\0' && capacity == 255 ? "." : "!";
        return std::strcpy(reply, replies[seen.size() / 2]), 0u;
    });
    for (int i = 0; i < 5; ++i)
        seen += scripted.isPlaying() ? "1" : "0";
    EXPECT_EQ(seen, ".1.1.0.0.0");
}

// Unpacked into a folder whose name the system's code page (1252 here) cannot write, the program
// still opens its music (and starts the tool: lookupOrder): its manifest makes its 8-bit text
// UTF-8.
TEST(Mci, OpensTheMusicInAFolderOfAnyName) {
    std::string systemCodePage;
    sysinfo::readKeyValue(*registry, Registry::localMachine,
                          "System\\CurrentControlSet\\Control\\Nls\\CodePage", "ACP",
                          systemCodePage);
    EXPECT_EQ(systemCodePage, "1252");
    EXPECT_EQ(GetACP(), UINT{CP_UTF8});
    const std::wstring music = anyName + L"\\supplimentary.dat";
    std::ofstream(std::filesystem::path(music), std::ios::binary) // one track, one note
        << std::string("MThd\0\0\0\6\0\0\0\1\0\x60MTrk\0\0\0\x0c\0\x90\x3c\x40\x60\x80\x3c\x40"
                       "\0\xff\x2f\0",
                       34);
    RealMci real;
    auto& [sent, answers, mci] = real;
    // The device opens the file; the same name in the system's code page, question marks, is none.
    for (const unsigned codePage : {unsigned{CP_ACP}, 1252u})
        mci.start(eightBit(music, codePage)), mci.stop();
    EXPECT_EQ(sent[0], "open \"" + eightBit(music) + "\" type sequencer alias midwhee");
    ASSERT_EQ(answers.size(), 6u);
    EXPECT_EQ(answers[0], 0u);
    EXPECT_EQ(answers[3], 275u);
}

// Reads and writes a ROM in folder: a device is refused, a missing file not created, a second
// writer told the file is in use.
void readsAndWritesIn(const std::wstring& folder) {
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
    EXPECT_TRUE(status.exists && status.regular);
    EXPECT_EQ(status.size, 16);
    EXPECT_FALSE(win32file::stat(folder).regular);
    std::string out;
    EXPECT_TRUE(win32file::readAt(path, 12, 10, out).done);
    EXPECT_EQ(out, bytes.substr(12));
    win32file::Result opened;
    EXPECT_FALSE(win32file::File::openExisting(folder + L"\\missing.bin", opened));
    EXPECT_TRUE(!opened.done && !opened.reason.empty() && !opened.inUse);
    EXPECT_FALSE(win32file::stat(folder + L"\\missing.bin").exists); // not created
    // A device at the path is refused, not read or written.
    EXPECT_FALSE(win32file::File::openExisting(L"\\\\.\\NUL", opened) || opened.done);
    EXPECT_FALSE(win32file::readAt(L"\\\\.\\NUL", 0, 4, out).done);
    auto rom = win32file::File::openExisting(path, opened);
    ASSERT_TRUE(rom && opened.done);
    EXPECT_TRUE(rom->lockAll().done);
    std::int64_t size = 0;
    EXPECT_TRUE(rom->readAt(6, 4, out).done);
    EXPECT_EQ(out, bytes.substr(6, 4));
    EXPECT_TRUE(rom->size(size).done);
    EXPECT_EQ(size, 16);
    // A second writer, Lopwinder or another program, is told the file is in use.
    EXPECT_FALSE(win32file::File::openExisting(path, opened));
    EXPECT_TRUE(opened.inUse);
    EXPECT_TRUE(rom->writeAt(10, std::string("\0\x80", 2)).done);
    EXPECT_TRUE(rom->flush().done);
    EXPECT_TRUE(rom->close().done);
    EXPECT_TRUE(win32file::readAt(path, 0, 100, out).done);
    EXPECT_EQ(out, std::string(bytes).replace(10, 2, std::string("\0\x80", 2)));
}

// Another program's lock over the table (on a handle of its own, as locks are held: this one) is
// met before anything is read or written; once it lets go, the same file is written.
TEST(Files, MeetAnotherProgramsLockBeforeAnythingIsWritten) {
    const std::wstring path = root + L"\\lopwinder locked.bin";
    const std::string bytes = "0123456789abcdef";
    std::ofstream(std::filesystem::path(path), std::ios::binary) << bytes;
    // Opened for reading, sharing it for writing, bytes 4 to 7 locked.
    HANDLE other = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    OVERLAPPED table{};
    table.Offset = 4;
    ASSERT_TRUE(
        LockFileEx(other, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 4, 0, &table));

    std::string out;
    win32file::Result opened;
    auto rom = win32file::File::openExisting(path, opened);
    ASSERT_TRUE(rom);
    EXPECT_TRUE(rom->lockAll().inUse);
    rom.reset();
    EXPECT_TRUE(win32file::readAt(path, 0, 100, out).done);
    EXPECT_EQ(out, bytes); // nothing written

    ASSERT_TRUE(UnlockFileEx(other, 0, 4, 0, &table));
    rom = win32file::File::openExisting(path, opened);
    ASSERT_TRUE(rom);
    EXPECT_TRUE(rom->lockAll().done);
    EXPECT_TRUE(rom->writeAt(4, "WXYZ").done);
    // The lock is exclusive: while it is held, no other program takes even a shared lock on the
    // table; once the file is closed, one may.
    EXPECT_FALSE(LockFileEx(other, LOCKFILE_FAIL_IMMEDIATELY, 0, 4, 0, &table));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_LOCK_VIOLATION});
    EXPECT_TRUE(rom->flush().done);
    EXPECT_TRUE(rom->close().done);
    EXPECT_TRUE(LockFileEx(other, LOCKFILE_FAIL_IMMEDIATELY, 0, 4, 0, &table));
    CloseHandle(other);
    EXPECT_TRUE(win32file::readAt(path, 0, 100, out).done);
    EXPECT_EQ(out, "0123WXYZ89abcdef");
}

// Removes folder and everything in it, at any depth (the C runtime's calls stop at 260 characters).
bool removeTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((L"\\\\?\\" + folder + L"\\*").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found)) {
        const std::wstring name = found.cFileName, path = L"\\\\?\\" + folder + L"\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            name == L"." || name == L".." || removeTree(folder + L"\\" + name);
        else
            DeleteFileW(path.c_str());
    }
    FindClose(search);
    return RemoveDirectoryW((L"\\\\?\\" + folder).c_str());
}

// In a folder whose name the system's code page cannot write, and in one about 300 characters
// deep, as the Open dialog may return it.
TEST(Files, ReadAndWriteInAFolderOfAnyNameAtAnyDepth) {
    readsAndWritesIn(root + L"\\R\u00e4der \u901f\u3044");
    std::wstring deep = root;
    for (int i = 0; i < 12; ++i)
        CreateDirectoryW(
            (L"\\\\?\\" + (deep += L"\\folder " + std::to_wstring(i) + L" of a deep tree")).c_str(),
            nullptr);
    ASSERT_GT(deep.size(), 270u);
    EXPECT_EQ(win32file::extendedPath(deep + L"\\x"), L"\\\\?\\" + deep + L"\\x");
    EXPECT_EQ(win32file::extendedPath(L"\\\\nas\\roms" + deep.substr(2)),
              L"\\\\?\\UNC\\nas\\roms" + deep.substr(2));
    EXPECT_EQ(win32file::extendedPath(L"C:\\a\\..\\b.bin"), L"C:\\a\\..\\b.bin"); // short: as it is
    readsAndWritesIn(deep);
}

} // namespace

int main(int argc, char* argv[]) {
    // It writes files into C:\ and reads keys the calling script wrote under HKLM: only a
    // throw-away Wine prefix may suffer that.
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    if (ntdll == nullptr || GetProcAddress(ntdll, "wine_get_version") == nullptr) {
        std::printf("Not running under Wine: these checks change the system, so they stop here.\n");
        return 2;
    }
    testing::InitGoogleTest(&argc, argv);
    wchar_t temporary[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temporary);
    root = temporary + (L"lopwinder-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                        std::to_wstring(GetTickCount64()));
    rootText = eightBit(root);
    if (!CreateDirectoryW(root.c_str(), nullptr)) { // new
        std::printf("Cannot make a folder of this run's own.\n");
        return 1;
    }
    anyName = root + L"\\\u0414\u043c\u0438\u0442\u0440\u0438\u0439 \u901f\u3044";
    CreateDirectoryW(anyName.c_str(), nullptr);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\LopwinderTest");
    registry = sysinfo::createSystemRegistry();
    const int result = RUN_ALL_TESTS();
    for (const char* key :
         {"Software\\LopwinderTest", "SOFTWARE\\Microsoft\\Shared Tools Location"})
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, key);
    registry.reset();
    if (!removeTree(root)) {
        std::printf("This run's folder could not be removed.\n");
        return 1;
    }
    return result;
}
