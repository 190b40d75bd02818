#include "rom/readwritetext.h"
#include "romimage/romimage.h"
#include "support/fakes.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class ReadWriteText : public ::testing::Test {
protected:
    QTemporaryDir dir;
    ScriptedPrompter prompter;
    ScriptedFileSystem fs;
    RomContext rom{fs, prompter, {}, {}};

    std::string data() const {
        std::string bytes(64, '\0');
        for (std::size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = static_cast<char>(i * 4 + 3);
        bytes[10] = '\x00';
        bytes[11] = '\xff';
        bytes[12] = '\x80';
        return bytes;
    }
};

TEST_F(ReadWriteText, ZeroLengthReadsNothingEvenWithoutAPath) {
    EXPECT_EQ(readwritetext::readText(rom, 0x100, 0), "");
    rom.romPath = dir.filePath("missing.bin");
    EXPECT_EQ(readwritetext::readText(rom, 0, 0), "");
    EXPECT_TRUE(fs.reads.empty());
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(ReadWriteText, ReadsTheBytesAtTheOffsetIncludingNulAndHighBytes) {
    rom.romPath = romimage::writeFile(dir.path(), "a.bin", data());
    EXPECT_EQ(readwritetext::readText(rom, 8, 6), data().substr(8, 6));
    EXPECT_EQ(readwritetext::readText(rom, 0, 64), data());
    ASSERT_EQ(fs.reads.size(), 2u);
    EXPECT_EQ(fs.reads[0], (ScriptedFileSystem::Read{rom.romPath, 8, 6}));
}

TEST_F(ReadWriteText, ReadsTheSerialOfAZoomlet2Image) {
    rom.romPath = romimage::writeFile(dir.path(), "z2.bin", romimage::build("Zoomlet 2"));
    EXPECT_EQ(readwritetext::readText(rom, 0x183, 11), "T-120096-50");
}

TEST_F(ReadWriteText, BytesPastTheEndReadAsZeroWithoutAMessage) {
    rom.romPath = romimage::writeFile(dir.path(), "short.bin", "ABC");
    EXPECT_EQ(readwritetext::readText(rom, 1, 5), std::string("BC\0\0\0", 5));
    EXPECT_EQ(readwritetext::readText(rom, 100, 2), std::string("\0\0", 2));
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(ReadWriteText, EveryFailingReadShowsRomNotFoundOnce) {
    rom.romPath = dir.filePath("nothing here.bin");
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(readwritetext::readText(rom, 0, 4), "");
    ASSERT_EQ(prompter.messages.size(), 3u);
    for (const Message& m : prompter.messages) {
        EXPECT_EQ(m.text, "ROM not found!");
        EXPECT_EQ(m.shownTitle(), "Hexwarden");
        EXPECT_EQ(m.icon, MessageIcon::Critical);
        EXPECT_EQ(m.buttons, MessageButtons::Ok);
    }
}

TEST_F(ReadWriteText, AnUnreadableFileIsReportedLikeAMissingOne) {
    rom.romPath = romimage::writeFile(dir.path(), "locked.bin", data());
    fs.failReads = true;
    EXPECT_EQ(readwritetext::readText(rom, 0, 4), "");
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, "ROM not found!");
}

TEST_F(ReadWriteText, WriteChangesExactlyItsBytesAndKeepsTheLength) {
    const std::string original = romimage::build("Zoomlet 2");
    const QString path = romimage::writeFile(dir.path(), "w.bin", original);
    std::string table(27, '\0');
    for (std::size_t i = 0; i < table.size(); ++i)
        table[i] = static_cast<char>(i % 2 ? 0xff : 0x00);

    IoResult opened;
    auto file = systemFileSystem().openExisting(path, opened);
    ASSERT_TRUE(file) << opened.reason.toStdString();
    EXPECT_TRUE(readwritetext::writeText(*file, 0x3E6AE, table).ok());
    EXPECT_TRUE(readwritetext::writeText(*file, 0x10, "").ok());
    EXPECT_TRUE(file->close().ok());

    std::string expected = original;
    romimage::put(expected, 0x3E6AE, table);
    EXPECT_EQ(romimage::readFile(path), expected);
}

TEST_F(ReadWriteText, PathsWithBlanksAndNonAsciiReachTheFileSystem) {
    const QString sub = dir.filePath(QStringLiteral("Räder & Rennen 速い"));
    ASSERT_TRUE(QDir().mkpath(sub));
    rom.romPath = romimage::writeFile(sub, QStringLiteral("ßpeed ROM.bin"), data());
    EXPECT_EQ(readwritetext::readText(rom, 11, 2), "\xff\x80");
    EXPECT_TRUE(prompter.messages.empty());
}

} // namespace
