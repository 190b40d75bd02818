// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "about/startsysinfo.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

namespace {

// Type and data stored, then what is read: the text, or "!" for a failure, "-" for not found.
TEST(GetKeyValue, ConvertsTextAndNumbers) {
    using R = Registry;
    const std::tuple<std::uint32_t, std::string, std::string> rows[] = {
        {R::typeText, std::string("abc\0", 4), "abc"},
        {R::typeText, "abc", "abc"}, // without its NUL it keeps the c
        {R::typeNumber, std::string("\x05\x01\x00\x00", 4), "&h000105"},
        {R::typeNumber, "\x78\x56\x34\x12", "&h12345678"},
        {R::typeExpandText, std::string("x\0", 2), "before"},
        {R::typeText, "", "!"},
        {R::typeText, std::string(1025, 'a'), "-"},
        {R::typeText, std::string(1024, 'a'), std::string(1024, 'a')},
    };
    for (const auto& [type, data, expected] : rows) {
        ScriptedRegistry registry;
        registry.put("K", "V", type, data);
        for (const std::string name : {"V", "Missing"}) {
            std::string value = "before";
            const auto read = sysinfo::GetKeyValue(registry, R::localMachine, "K", name, value);
            const std::string seen = read == sysinfo::KeyRead::Failed     ? "!" + value.substr(6)
                                     : read == sysinfo::KeyRead::NotFound ? "-" + value
                                                                          : value;
            EXPECT_EQ(seen, name == "V" ? expected : "-") << data;
        }
        EXPECT_EQ(registry.openKeys, 0);
    }
}

// The first location (a value, only the key, or nothing), the second (a folder or nothing), whether
// a launch works; then keys opened | files looked for | launched | whether the user was told.
TEST(StartSysInfo, LooksInTheFirstLocationThenTheSecondThenGivesUp) {
    const std::string first = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
    const std::string second = "SOFTWARE\\Microsoft\\Shared Tools Location";
    enum { None = 100, KeyOnly }; // what the first location holds besides a value
    const std::tuple<std::uint32_t, std::string, const char*, bool, const char*> rows[] = {
        {Registry::typeText, "C:\\T\\m.exe", "C:\\Other", true, "1||[C:\\T\\m.exe]|"},
        {Registry::typeText, "C:\\gone.exe", "C:\\Other", false, "1||[C:\\gone.exe]|told"},
        {Registry::typeExpandText, "%X%", "C:\\Other", true, "1||[]|told"},
        {Registry::typeText, "", "C:\\Other", true, "1|||told"},
        {KeyOnly, "", "C:\\MSINFO", true,
         "2|[C:\\MSINFO\\MSINFO32.EXE]|[C:\\MSINFO\\MSINFO32.EXE]|"},
        {None, "", "C:\\None", true, "2|[C:\\None\\MSINFO32.EXE]||told"},
        {None, "", nullptr, true, "2|||told"},
    };
    for (const auto& [type, data, folder, launchWorks, expected] : rows) {
        ScriptedRegistry registry;
        if (type == KeyOnly)
            registry.values[first];
        else if (type != None)
            registry.put(first, "PATH", type, data);
        if (folder)
            registry.put(second, "MSINFO", Registry::typeText, std::string(folder) + '\0');
        ScriptedPrompter prompter;
        std::string looked, launched;
        sysinfo::Platform platform{registry,
                                   [&](const std::string& path) {
                                       looked += "[" + path + "]";
                                       return path == "C:\\MSINFO\\MSINFO32.EXE";
                                   },
                                   [&](const std::string& line) {
                                       launched += "[" + line + "]";
                                       return launchWorks && !line.empty();
                                   }};
        StartSysInfo(platform, prompter);
        const bool told =
            prompter.messages.size() == 1 &&
            prompter.messages[0].text == "System Information Is Unavailable At This Time" &&
            prompter.messages[0].icon == MessageIcon::None;
        EXPECT_EQ(std::to_string(registry.opened.size()) + "|" + looked + "|" + launched + "|" +
                      (told ? "told" : ""),
                  expected);
        EXPECT_EQ(registry.accessRequested.front(), 0x20019u); // read access only
        EXPECT_EQ(registry.openKeys, 0);
    }
}

} // namespace
