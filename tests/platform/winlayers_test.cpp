// Checks the real Windows layers against the real advapi32, winmm and kernel32 (under Wine on
// Linux). The registry values of the GetKeyValue checks are put in place by the calling script
// with "reg add"; the two System Info locations are set up here, scenario by scenario.
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
    if (ok) {
        ++passed;
        return;
    }
    ++failed;
    std::printf("FAILED line %d: %s\n", line, what);
}
#define CHECK(condition) check((condition), #condition, __LINE__)

const std::string testKey = "Software\\LopwinderTest";
const std::string firstKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const std::string secondKey = "SOFTWARE\\Microsoft\\Shared Tools Location";

void setValue(const std::string& key, const char* name, DWORD type, const std::string& data) {
    HKEY handle = nullptr;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                    &handle, nullptr);
    RegSetValueExA(handle, name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                   static_cast<DWORD>(data.size()));
    RegCloseKey(handle);
}

void removeKey(const std::string& key) {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, key.c_str());
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, key.c_str());
}

std::string withNul(const std::string& text) {
    return text + '\0';
}

void getKeyValue(Registry& registry) {
    struct Row {
        const char* name;
        sysinfo::KeyRead read;
        std::string value;
    };
    const Row rows[] = {
        {"Sz", sysinfo::KeyRead::Read, "hello world"},
        {"Dw", sysinfo::KeyRead::Read, "&h000105"},
        {"Ex", sysinfo::KeyRead::Read, "before"},
        {"Empty", sysinfo::KeyRead::Failed, "before"},
        {"Long", sysinfo::KeyRead::NotFound, ""},
        {"Exact", sysinfo::KeyRead::Read, std::string(1023, 'x')},
        {"Missing", sysinfo::KeyRead::NotFound, ""},
    };
    for (const Row& row : rows) {
        std::string value = "before";
        const auto read =
            sysinfo::GetKeyValue(registry, Registry::localMachine, testKey, row.name, value);
        check(read == row.read, row.name, __LINE__);
        check(value == row.value, row.name, __LINE__);
    }
    // A text stored without its NUL keeps its last character.
    setValue(testKey, "NoNul", REG_SZ, "abc");
    std::string value;
    CHECK(sysinfo::GetKeyValue(registry, Registry::localMachine, testKey, "NoNul", value) ==
          sysinfo::KeyRead::Read);
    CHECK(value == "abc");
    CHECK(sysinfo::GetKeyValue(registry, Registry::localMachine, "Software\\NoSuchKey", "x",
                               value) == sysinfo::KeyRead::NotFound);
}

void fileLookup() {
    CreateDirectoryA("C:\\lopwinder-files", nullptr);
    CopyFileA("C:\\windows\\system32\\hostname.exe", "C:\\lopwinder-files\\plain.exe", FALSE);
    CopyFileA("C:\\windows\\system32\\hostname.exe", "C:\\lopwinder-files\\hidden.exe", FALSE);
    CopyFileA("C:\\windows\\system32\\hostname.exe", "C:\\lopwinder-files\\system.exe", FALSE);
    SetFileAttributesA("C:\\lopwinder-files\\hidden.exe", FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA("C:\\lopwinder-files\\system.exe", FILE_ATTRIBUTE_SYSTEM);
    CHECK(sysinfo::systemPlainFileExists("C:\\lopwinder-files\\plain.exe"));
    CHECK(!sysinfo::systemPlainFileExists("C:\\lopwinder-files\\hidden.exe"));
    CHECK(!sysinfo::systemPlainFileExists("C:\\lopwinder-files\\system.exe"));
    CHECK(!sysinfo::systemPlainFileExists("C:\\lopwinder-files"));
    CHECK(!sysinfo::systemPlainFileExists("C:\\lopwinder-files\\missing.exe"));
}

void launcher() {
    CHECK(sysinfo::systemLaunch("C:\\windows\\system32\\hostname.exe"));
    CHECK(!sysinfo::systemLaunch(""));
    CHECK(!sysinfo::systemLaunch("C:\\nowhere\\tool.exe"));
    // A program at "C:\Lopwinder.exe" must not start in place of a missing tool in a folder
    // whose name begins "Lopwinder ".
    CreateDirectoryA("C:\\Lopwinder Quoting", nullptr);
    DeleteFileA("C:\\Lopwinder Quoting\\tool.exe"); // left by an earlier run in the same prefix
    CopyFileA("C:\\windows\\system32\\hostname.exe", "C:\\Lopwinder.exe", FALSE);
    CHECK(!sysinfo::systemLaunch("C:\\Lopwinder Quoting\\tool.exe"));
    CopyFileA("C:\\windows\\system32\\hostname.exe", "C:\\Lopwinder Quoting\\tool.exe", FALSE);
    CHECK(sysinfo::systemLaunch("C:\\Lopwinder Quoting\\tool.exe"));
    CHECK(sysinfo::quotedCommandLine("C:\\a b\\c.exe") == "\"C:\\a b\\c.exe\"");
    CHECK(sysinfo::quotedCommandLine("\"C:\\a b\\c.exe\"") == "\"C:\\a b\\c.exe\"");
}

void startSysInfo(Registry& registry) {
    std::vector<std::string> launched;
    sysinfo::Platform platform{registry, sysinfo::systemPlainFileExists,
                               [&](const std::string& commandLine) {
                                   launched.push_back(commandLine);
                                   return sysinfo::systemLaunch(commandLine);
                               }};
    const std::string tool = "C:\\windows\\system32\\hostname.exe";
    const std::string folder = "C:\\Program Files\\Lopwinder Tools";
    CreateDirectoryA(folder.c_str(), nullptr);

    // Only the first location, holding the tool's path.
    removeKey(firstKey);
    removeKey(secondKey);
    setValue(firstKey, "PATH", REG_SZ, withNul(tool));
    CHECK(sysinfo::launchSysInfo(platform));
    CHECK(launched == std::vector<std::string>{tool});

    // The first location names nothing: launched as it stands, failing; the second not asked.
    launched.clear();
    setValue(firstKey, "PATH", REG_SZ, withNul("C:\\nowhere\\msinfo32.exe"));
    setValue(secondKey, "MSINFO", REG_SZ, withNul(folder));
    CopyFileA(tool.c_str(), (folder + "\\MSINFO32.EXE").c_str(), FALSE);
    CHECK(!sysinfo::launchSysInfo(platform));
    CHECK(launched == std::vector<std::string>{"C:\\nowhere\\msinfo32.exe"});

    // Another type at the first location: the empty text is launched and fails.
    launched.clear();
    setValue(firstKey, "PATH", REG_EXPAND_SZ, withNul(tool));
    CHECK(!sysinfo::launchSysInfo(platform));
    CHECK(launched == std::vector<std::string>{""});

    // No data at the first location: a failure at once.
    launched.clear();
    setValue(firstKey, "PATH", REG_SZ, "");
    CHECK(!sysinfo::launchSysInfo(platform));
    CHECK(launched.empty());

    // Only the second location, its folder holding the tool (a path with blanks).
    launched.clear();
    removeKey(firstKey);
    CHECK(sysinfo::launchSysInfo(platform));
    CHECK(launched == std::vector<std::string>{folder + "\\MSINFO32.EXE"});

    // Only the second location, without the tool.
    launched.clear();
    DeleteFileA((folder + "\\MSINFO32.EXE").c_str());
    CHECK(!sysinfo::launchSysInfo(platform));
    CHECK(launched.empty());

    removeKey(secondKey);
    CHECK(!sysinfo::launchSysInfo(platform));
}

void music() {
    const std::unique_ptr<Mci> mci = createSystemMci();
    char reply[256] = "untouched";
    const std::uint32_t missing = mci->sendString(
        "open \"C:\\Program Files\\Lopwinder Tools\\no such.dat\" type sequencer alias midwhee",
        nullptr, 0);
    std::printf("mci: open of a missing file answers %u\n", static_cast<unsigned>(missing));
    CHECK(missing == 275); // MCIERR_FILE_NOT_FOUND: the quoted path was read whole
    const std::uint32_t status = mci->sendString("status midwhee mode", reply, 255);
    std::printf("mci: status of an unopened device answers %u \"%s\"\n",
                static_cast<unsigned>(status), reply);
    CHECK(status != 0);
    CHECK(std::string(reply).rfind("playing", 0) != 0);
    CHECK(mci->sendString("close midwhee", nullptr, 0) != 0);
    CHECK(mci->sendString("no such command", nullptr, 0) != 0);

    // A real sequence in a folder with blanks: whatever the device says, the answers come back.
    const char song[] =
        "MThd\0\0\0\6\0\0\0\1\0\x60MTrk\0\0\0\x0c\0\x90\x45\x64\x60\x80\x45\0\0\xff\x2f\0";
    HANDLE file = CreateFileA("C:\\Program Files\\Lopwinder Tools\\tune.dat", GENERIC_WRITE, 0,
                              nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, song, sizeof song - 1, &written, nullptr);
    CloseHandle(file);
    const std::uint32_t opened = mci->sendString(
        "open \"C:\\Program Files\\Lopwinder Tools\\tune.dat\" type sequencer alias midwhee",
        nullptr, 0);
    std::printf("mci: open of a MIDI file answers %u\n", static_cast<unsigned>(opened));
    if (opened == 0) {
        const std::uint32_t played = mci->sendString("play midwhee", nullptr, 0);
        std::printf("mci: play answers %u\n", static_cast<unsigned>(played));
        reply[0] = '\0';
        CHECK(mci->sendString("status midwhee mode", reply, 255) == 0);
        std::printf("mci: status while open: \"%s\"\n", reply);
        CHECK(reply[0] != '\0');
        CHECK(mci->sendString("close midwhee", nullptr, 0) == 0);
    }
}

void files() {
    const std::wstring folder = L"C:\\R\u00e4der \u901f\u3044";
    const std::wstring path = folder + L"\\rom \u00df.bin";
    CreateDirectoryW(folder.c_str(), nullptr);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    std::string bytes(64, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 5 + 1);
    bytes[7] = '\0';
    bytes[8] = '\xff';
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);

    const win32file::Status status = win32file::stat(path);
    CHECK(status.exists && status.regular && status.size == 64);
    CHECK(!win32file::stat(folder).regular);
    CHECK(!win32file::stat(folder + L"\\missing.bin").exists);
    CHECK(!win32file::stat(L"").exists);

    std::string out;
    CHECK(win32file::readAt(path, 6, 4, out).empty());
    CHECK(out == bytes.substr(6, 4));
    CHECK(win32file::readAt(path, 60, 10, out).empty());
    CHECK(out == bytes.substr(60)); // the file ends first
    CHECK(!win32file::readAt(folder + L"\\missing.bin", 0, 4, out).empty());

    std::string reason;
    CHECK(!win32file::File::openExisting(folder + L"\\missing.bin", reason));
    CHECK(!reason.empty());
    CHECK(!win32file::stat(folder + L"\\missing.bin").exists); // not created
    // A device at the path is refused, not read or written.
    CHECK(!win32file::File::openExisting(L"\\\\.\\NUL", reason) && !reason.empty());
    CHECK(!win32file::readAt(L"\\\\.\\NUL", 0, 4, out).empty());

    auto rom = win32file::File::openExisting(path, reason);
    CHECK(rom != nullptr);
    if (rom) {
        CHECK(rom->readAt(6, 4, out).empty() && out == bytes.substr(6, 4));
        CHECK(rom->writeAt(10, std::string("\0\x80\xff", 3)).empty());
        CHECK(rom->flush().empty());
        CHECK(rom->close().empty());
    }
    std::string after;
    win32file::readAt(path, 0, 100, after);
    std::string expected = bytes;
    expected.replace(10, 3, std::string("\0\x80\xff", 3));
    CHECK(after == expected);
    CHECK(win32file::stat(path).size == 64);
}

} // namespace

int main() {
    // It deletes keys under HKLM\SOFTWARE\Microsoft\Shared Tools and writes into C:\, which only a
    // throw-away Wine prefix may suffer.
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    if (ntdll == nullptr || GetProcAddress(ntdll, "wine_get_version") == nullptr) {
        std::printf("Not running under Wine: these checks change the system, so they stop here.\n");
        return 2;
    }
    const std::unique_ptr<Registry> registry = createSystemRegistry();
    getKeyValue(*registry);
    fileLookup();
    launcher();
    startSysInfo(*registry);
    music();
    files();
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
