#include "romimage/romimage.h"
#include "support/fakes.h"
#include "tracks/slotwriter.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using slotwriter::Outcome;
using Fault = ScriptedFileSystem::Fault;

constexpr qint32 offset = 0x3E6AE;
const std::string newSlots(27, '\x21');

class SlotWriter : public ::testing::Test {
protected:
    void SetUp() override {
        original = romimage::build("Zoomlet 2");
        path = romimage::writeFile(dir.path(), "rom.bin", original);
        identity = fs.stat(path).identity;
    }
    slotwriter::Result write() {
        return slotwriter::writeSlotTable(fs, path, identity, offset, newSlots);
    }
    std::string written() const {
        std::string expected = original;
        romimage::put(expected, offset, newSlots);
        return expected;
    }

    QTemporaryDir dir;
    ScriptedFileSystem fs;
    std::string original;
    QString path;
    FileIdentity identity;
};

TEST_F(SlotWriter, WritesOnlyTheSlotTable) {
    const auto result = write();
    EXPECT_EQ(result.outcome, Outcome::Written);
    EXPECT_TRUE(result.reason.isEmpty());
    EXPECT_EQ(romimage::readFile(path), written());
}

TEST_F(SlotWriter, EachInjectedFailureIsReportedWithWhatTheFileHolds) {
    struct Row {
        Fault fault;
        Outcome outcome;
        bool bytesOnDisk; // false: unchanged; true: the new slot table
    };
    const Row rows[] = {
        {Fault::OpenForWrite, Outcome::NotWritten, false},
        {Fault::WriteNothing, Outcome::PartlyWritten, false},
        {Fault::Flush, Outcome::Unconfirmed, true},
        {Fault::Close, Outcome::Unconfirmed, true},
    };
    for (const Row& row : rows) {
        romimage::writeFile(dir.path(), "rom.bin", original);
        fs.fault = row.fault;
        const auto result = write();
        EXPECT_EQ(result.outcome, row.outcome) << static_cast<int>(row.fault);
        EXPECT_FALSE(result.reason.isEmpty());
        EXPECT_EQ(romimage::readFile(path), row.bytesOnDisk ? written() : original);
    }
}

TEST_F(SlotWriter, AShortWriteLeavesHalfTheTableAndSaysSo) {
    fs.fault = Fault::ShortWrite;
    const auto result = write();
    EXPECT_EQ(result.outcome, Outcome::PartlyWritten);
    EXPECT_TRUE(result.reason.contains("No space left on device"));
    std::string expected = original;
    romimage::put(expected, offset, newSlots.substr(0, 13));
    EXPECT_EQ(romimage::readFile(path), expected);
}

TEST_F(SlotWriter, ARemovedFileIsNotCreatedAgain) {
    ASSERT_TRUE(QFile::remove(path));
    const auto result = write();
    EXPECT_EQ(result.outcome, Outcome::NotWritten);
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(SlotWriter, AReplacedFileIsNotWritten) {
    ASSERT_TRUE(QFile::remove(path));
    romimage::writeFile(dir.path(), "other.bin", original); // keeps the old inode from coming back
    romimage::writeFile(dir.path(), "rom.bin", original);
    const auto result = write();
    EXPECT_EQ(result.outcome, Outcome::NotWritten);
    EXPECT_TRUE(result.reason.contains("replaced"));
    EXPECT_EQ(romimage::readFile(path), original);
}

TEST_F(SlotWriter, AFileTooShortForTheTableIsNotExtended) {
    ASSERT_TRUE(QFile::resize(path, offset + 10));
    const auto result = write();
    EXPECT_EQ(result.outcome, Outcome::NotWritten);
    EXPECT_EQ(QFileInfo(path).size(), offset + 10);
    EXPECT_EQ(romimage::readFile(path), original.substr(0, offset + 10));
}

TEST(SlotWriterText, SaysWhatHappenedAndWhy) {
    const slotwriter::Result failed{Outcome::NotWritten, "The ROM file could not be opened for "
                                                         "writing: Permission denied"};
    const QString save = slotwriter::failureText(slotwriter::Action::Save, failed);
    EXPECT_TRUE(save.startsWith("Nothing was saved; the ROM file is unchanged."));
    EXPECT_TRUE(save.contains("Permission denied"));
    const QString reset = slotwriter::failureText(
        slotwriter::Action::Reset, {Outcome::PartlyWritten, "Writing failed: Disk full"});
    EXPECT_TRUE(reset.contains("may be only partly written"));
    EXPECT_TRUE(reset.contains("Disk full"));
    EXPECT_TRUE(slotwriter::failureText(slotwriter::Action::Save, {}).isEmpty());
}

} // namespace
