#include "about/startsysinfo.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

namespace {

const std::string first = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const std::string second = "SOFTWARE\\Microsoft\\Shared Tools Location";
const QString unavailable = QStringLiteral("System Information Is Unavailable At This Time");

class SysInfo : public ::testing::Test {
protected:
    ScriptedRegistry registry;
    ScriptedPrompter prompter;
    std::vector<std::string> looked;
    std::vector<std::string> launched;
    std::vector<std::string> existing;
    bool launchWorks = true;
    sysinfo::Platform platform{registry,
                               [this](const std::string& path) {
                                   looked.push_back(path);
                                   return std::find(existing.begin(), existing.end(), path) !=
                                          existing.end();
                               },
                               [this](const std::string& commandLine) {
                                   launched.push_back(commandLine);
                                   return launchWorks && !commandLine.empty();
                               }};

    void start() { StartSysInfo(platform, prompter); }

    void expectUnavailable() {
        ASSERT_EQ(prompter.messages.size(), 1u);
        const Message& m = prompter.messages[0];
        EXPECT_EQ(m.text, unavailable);
        EXPECT_EQ(m.icon, MessageIcon::None);
        EXPECT_EQ(m.buttons, MessageButtons::Ok);
        EXPECT_EQ(m.shownTitle(), "Lopwinder");
    }
};

TEST_F(SysInfo, FirstLocationIsLaunchedWithoutAFileCheck) {
    registry.put(first, "PATH", Registry::typeText, std::string("C:\\Tools\\msinfo32.exe\0", 22));
    registry.put(second, "MSINFO", Registry::typeText, std::string("C:\\Other\0", 9));
    start();
    EXPECT_EQ(launched, std::vector<std::string>{"C:\\Tools\\msinfo32.exe"});
    EXPECT_TRUE(looked.empty());
    EXPECT_EQ(registry.opened, std::vector<std::string>{first});
    EXPECT_EQ(registry.accessRequested.front(), 0x20019u); // KEY_READ
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(registry.openKeys, 0);
}

TEST_F(SysInfo, AFailingLaunchShowsTheMessage) {
    registry.put(first, "PATH", Registry::typeText, std::string("C:\\gone.exe\0", 12));
    launchWorks = false;
    start();
    EXPECT_EQ(launched.size(), 1u);
    expectUnavailable();
}

TEST_F(SysInfo, FirstLocationOfAnotherTypeLaunchesNothingUsable) {
    registry.put(first, "PATH", Registry::typeExpandText, std::string("%SystemRoot%\\x.exe\0", 20));
    registry.put(second, "MSINFO", Registry::typeText, std::string("C:\\Other\0", 9));
    start();
    EXPECT_EQ(launched, std::vector<std::string>{""});
    EXPECT_EQ(registry.opened, std::vector<std::string>{first});
    expectUnavailable();
}

TEST_F(SysInfo, AValueWithoutDataIsAFailureAndTheSecondIsNotConsulted) {
    registry.put(first, "PATH", Registry::typeText, "");
    registry.put(second, "MSINFO", Registry::typeText, std::string("C:\\Other\0", 9));
    start();
    EXPECT_TRUE(launched.empty());
    EXPECT_EQ(registry.opened, std::vector<std::string>{first});
    EXPECT_EQ(registry.openKeys, 0);
    expectUnavailable();
}

TEST_F(SysInfo, SecondLocationIsUsedWhenItsFolderHoldsTheTool) {
    registry.addKey(first); // the key without the value counts as not found
    registry.put(second, "MSINFO", Registry::typeText, std::string("C:\\MSINFO\0", 10));
    existing.push_back("C:\\MSINFO\\MSINFO32.EXE");
    start();
    EXPECT_EQ(looked, std::vector<std::string>{"C:\\MSINFO\\MSINFO32.EXE"});
    EXPECT_EQ(launched, std::vector<std::string>{"C:\\MSINFO\\MSINFO32.EXE"});
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(SysInfo, SecondLocationWithoutTheToolLaunchesNothing) {
    registry.put(second, "MSINFO", Registry::typeText, std::string("C:\\MSINFO\0", 10));
    start();
    EXPECT_EQ(looked.size(), 1u);
    EXPECT_TRUE(launched.empty());
    expectUnavailable();
}

TEST_F(SysInfo, NeitherLocationShowsTheMessage) {
    start();
    EXPECT_EQ(registry.opened, (std::vector<std::string>{first, second}));
    EXPECT_TRUE(launched.empty());
    expectUnavailable();
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
        {Registry::typeNumber, std::string("\x78\x56\x34\x12", 4), sysinfo::KeyRead::Read,
         "&h12345678"},
        {Registry::typeExpandText, std::string("x\0", 2), sysinfo::KeyRead::Read, "before"},
        {Registry::typeText, "", sysinfo::KeyRead::Failed, "before"},
        {Registry::typeText, std::string(1025, 'a'), sysinfo::KeyRead::NotFound, ""},
        {Registry::typeText, std::string(1024, 'a'), sysinfo::KeyRead::Read,
         std::string(1024, 'a')},
    };
    for (const Row& row : rows) {
        ScriptedRegistry registry;
        registry.put("K", "V", row.type, row.data);
        std::string value = "before";
        EXPECT_EQ(sysinfo::GetKeyValue(registry, Registry::localMachine, "K", "V", value), row.read)
            << row.data;
        EXPECT_EQ(value, row.value) << row.data;
        EXPECT_EQ(registry.openKeys, 0);
    }
}

TEST(GetKeyValue, MissingKeyOrValueGivesEmptyText) {
    ScriptedRegistry registry;
    registry.addKey("K");
    std::string value = "before";
    EXPECT_EQ(sysinfo::GetKeyValue(registry, Registry::localMachine, "K", "V", value),
              sysinfo::KeyRead::NotFound);
    EXPECT_EQ(value, "");
    value = "before";
    EXPECT_EQ(sysinfo::GetKeyValue(registry, Registry::localMachine, "Nope", "V", value),
              sysinfo::KeyRead::NotFound);
    EXPECT_EQ(value, "");
    EXPECT_EQ(registry.openKeys, 0);
}

} // namespace
