#include "about/backgroundmusic.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

namespace {

using Commands = std::vector<std::string>;

TEST(AppPath, JoinsWithOneSeparator) {
    using backgroundmusic::AppPath;
    EXPECT_EQ(AppPath("C:\\Games\\Lopwinder", "supplimentary.dat", '\\'),
              "C:\\Games\\Lopwinder\\supplimentary.dat");
    EXPECT_EQ(AppPath("C:\\", "supplimentary.dat", '\\'), "C:\\supplimentary.dat");
    EXPECT_EQ(AppPath("/opt/lopwinder", "x.dat", '/'), "/opt/lopwinder/x.dat");
    EXPECT_EQ(AppPath("/", "x.dat", '/'), "/x.dat");
}

TEST(BackgroundMusic, OpensAndPlaysWithThePathQuotedOnlyWhenItHoldsABlank) {
    struct Row {
        QString path;
        std::string open;
    };
    const Row rows[] = {
        {"C:\\Program Files\\Lopwinder\\supplimentary.dat",
         "open \"C:\\Program Files\\Lopwinder\\supplimentary.dat\" type sequencer alias midwhee"},
        {"C:\\Games\\supplimentary.dat",
         "open C:\\Games\\supplimentary.dat type sequencer alias midwhee"},
        {"C:\\supplimentary.dat", "open C:\\supplimentary.dat type sequencer alias midwhee"},
        {"/home/me/my games/supplimentary.dat",
         "open \"/home/me/my games/supplimentary.dat\" type sequencer alias midwhee"},
    };
    for (const Row& row : rows) {
        RecordingMci mci;
        backgroundmusic::start(mci, row.path);
        EXPECT_EQ(mci.commands, (Commands{row.open, "play midwhee"}));
        EXPECT_EQ(mci.capacities, (std::vector<std::uint32_t>{0, 0}));
    }
}

TEST(BackgroundMusic, PollClosesUnlessTheReplyBeginsPlaying) {
    struct Row {
        std::string reply;
        Commands sent;
    };
    const Row rows[] = {
        {"playing", {"status midwhee mode"}},
        {"playing and more", {"status midwhee mode"}},
        {"stopped", {"status midwhee mode", "close midwhee"}},
        {"Playing", {"status midwhee mode", "close midwhee"}},
        {"", {"status midwhee mode", "close midwhee"}},
        {"play", {"status midwhee mode", "close midwhee"}},
    };
    for (const Row& row : rows) {
        RecordingMci mci;
        mci.statusReply = row.reply;
        backgroundmusic::poll(mci);
        EXPECT_EQ(mci.commands, row.sent) << row.reply;
        EXPECT_EQ(mci.capacities.front(), 255u);
    }
}

TEST(BackgroundMusic, StopCloses) {
    RecordingMci mci;
    backgroundmusic::stop(mci);
    EXPECT_EQ(mci.commands, Commands{"close midwhee"});
}

} // namespace
