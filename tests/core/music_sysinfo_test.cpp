#include "about/backgroundmusic.h"
#include "about/startsysinfo.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

namespace {

using Commands = std::vector<std::string>;

// The About box test sees a path with a blank quoted and the piece closed when it ends.
TEST(BackgroundMusic, JoinsThePathAndClosesUnlessTheReplyBeginsPlaying) {
    EXPECT_EQ(backgroundmusic::AppPath("C:\\", "x.dat", '\\'), "C:\\x.dat");
    RecordingMci mci;
    backgroundmusic::start(mci, "C:\\Games\\x.dat");
    EXPECT_EQ(mci.commands[0], "open C:\\Games\\x.dat type sequencer alias midwhee");
    for (const auto& [reply, sent] :
         {std::pair{"playing and more", 1u}, {"Playing", 2u}, {"play", 2u}}) {
        mci = {};
        mci.statusReply = reply;
        backgroundmusic::poll(mci);
        EXPECT_EQ(mci.commands.size(), sent) << reply;
        EXPECT_EQ(mci.capacities[0], 255u);
    }
}

TEST(GetKeyValue, ConvertsTextAndNumbers) {
    struct Row {
        std::uint32_t type;
        std::string data;
        sysinfo::KeyRead read;
        std::string value;
    };
    const Row rows[] = {
        {Registry::typeText, std::string("abc\0", 4), sysinfo::KeyRead::Read, "abc"},
        {Registry::typeText, "abc", sysinfo::KeyRead::Read, "abc"}, // no NUL: keeps the c
        {Registry::typeNumber, std::string("\x05\x01\x00\x00", 4), sysinfo::KeyRead::Read,
         "&h000105"},
        {Registry::typeNumber, "\x78\x56\x34\x12", sysinfo::KeyRead::Read, "&h12345678"},
        {Registry::typeExpandText, std::string("x\0", 2), sysinfo::KeyRead::Read, "before"},
        {Registry::typeText, "", sysinfo::KeyRead::Failed, "before"},
        {Registry::typeText, std::string(1025, 'a'), sysinfo::KeyRead::NotFound, ""},
        {Registry::typeText, std::string(1024, 'a'), sysinfo::KeyRead::Read,
         std::string(1024, 'a')},
    };
    for (const Row& row : rows) {
        ScriptedRegistry registry;
        registry.put("K", "V", row.type, row.data);
        for (const std::string name : {"V", "Missing"}) {
            std::string value = "before";
            const bool present = name == "V";
            EXPECT_EQ(sysinfo::GetKeyValue(registry, Registry::localMachine, "K", name, value),
                      present ? row.read : sysinfo::KeyRead::NotFound);
            EXPECT_EQ(value, present ? row.value : "") << row.data;
        }
        EXPECT_EQ(registry.openKeys, 0);
    }
}

// Each row: what the two registry locations and the disk hold, and what the button then does.
TEST(StartSysInfo, LooksInTheFirstLocationThenTheSecondThenGivesUp) {
    const std::string first = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
    const std::string second = "SOFTWARE\\Microsoft\\Shared Tools Location";
    struct Row {
        std::function<void(ScriptedRegistry&)> keys;
        bool launchWorks;
        Commands opened, looked, launched;
    };
    const auto firstPath = [&](std::uint32_t type, std::string data) {
        return [=](ScriptedRegistry& r) {
            r.put(first, "PATH", type, data);
            r.put(second, "MSINFO", Registry::typeText, std::string("C:\\Other\0", 9));
        };
    };
    const auto secondOnly = [&](ScriptedRegistry& r) {
        r.values[first]; // the key without its value counts as not found
        r.put(second, "MSINFO", Registry::typeText, std::string("C:\\MSINFO\0", 10));
    };
    const Row rows[] = {
        {firstPath(Registry::typeText, "C:\\T\\msinfo32.exe"),
         true,
         {first},
         {},
         {"C:\\T\\msinfo32.exe"}},
        {firstPath(Registry::typeText, "C:\\gone.exe"), false, {first}, {}, {"C:\\gone.exe"}},
        {firstPath(Registry::typeExpandText, "%X%"), true, {first}, {}, {""}},
        {firstPath(Registry::typeText, ""), true, {first}, {}, {}},
        {secondOnly,
         true,
         {first, second},
         {"C:\\MSINFO\\MSINFO32.EXE"},
         {"C:\\MSINFO\\MSINFO32.EXE"}},
        {[&](ScriptedRegistry& r) { r.put(second, "MSINFO", Registry::typeText, "C:\\None"); },
         true,
         {first, second},
         {"C:\\None\\MSINFO32.EXE"},
         {}},
        {[](ScriptedRegistry&) {}, true, {first, second}, {}, {}},
    };
    for (const Row& row : rows) {
        ScriptedRegistry registry;
        row.keys(registry);
        ScriptedPrompter prompter;
        Commands looked, launched;
        sysinfo::Platform platform{registry,
                                   [&](const std::string& path) {
                                       looked.push_back(path);
                                       return path == "C:\\MSINFO\\MSINFO32.EXE";
                                   },
                                   [&](const std::string& commandLine) {
                                       launched.push_back(commandLine);
                                       return row.launchWorks && !commandLine.empty();
                                   }};
        StartSysInfo(platform, prompter);
        EXPECT_EQ(registry.opened, row.opened);
        EXPECT_EQ(registry.accessRequested.front(), 0x20019u); // read access only
        EXPECT_EQ(registry.openKeys, 0);
        EXPECT_EQ(looked, row.looked);
        EXPECT_EQ(launched, row.launched);
        const bool started = !launched.empty() && row.launchWorks && !launched[0].empty();
        ASSERT_EQ(prompter.messages.size(), started ? 0u : 1u);
        if (!started) {
            EXPECT_EQ(prompter.messages[0].text, "System Information Is Unavailable At This Time");
            EXPECT_EQ(prompter.messages[0].icon, MessageIcon::None);
            EXPECT_EQ(prompter.messages[0].shownTitle(), "Lopwinder");
        }
    }
}

} // namespace
