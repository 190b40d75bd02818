#include "rom/detectrom.h"
#include "rom/readwritetext.h"
#include "rom/slottable.h"
#include "romimage/romimage.h"
#include "support/fakes.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using Reads = std::vector<std::pair<qint64, qint64>>;
const Reads zoomlet2Reads{{0x100, 15}, {0x183, 11}, {0x18E, 2}};
const Reads militaryReads{{0x100, 15}, {0x183, 11}, {0x113, 4}};
const Reads firstGameReads{{0x100, 15}, {0x183, 11}, {0x113, 4}, {0x00A, 1}};
const Reads zoomlet96Reads{{0x100, 15}, {0x183, 11}, {0x113, 4}, {0x00A, 1}, {0x000, 4}};

std::string with(std::string image, qint64 offset, std::string_view bytes) {
    romimage::put(image, offset, bytes);
    return image;
}

struct Case {
    const char* fileName;
    std::string image;
    const char* variant;
    Reads reads; // in order: identification reads only what its decision reaches
};

TEST(Identify, NamesTheVariantWithOnlyTheReadsItNeeds) {
    const std::string z2 = romimage::build("Zoomlet 2");
    const Case cases[] = {
        {"z2.BIN", z2, "Zoomlet 2", zoomlet2Reads},
        {"z2j.bin", romimage::build("Zoomlet 2 (J-Cart)"), "Zoomlet 2 (J-Cart)", zoomlet2Reads},
        {"g.bin", with(z2, 0x100, "SEGA GENESIS    "), "Zoomlet 2", zoomlet2Reads},
        {"l.bin", with(z2, 0x100, "sega mega drive"), "Error!", {{0x100, 15}}},
        {"m.bin", with(romimage::build("Zoomlet Military"), 0x00A, "z"), "Zoomlet Military",
         militaryReads},
        {"m2.bin", with(romimage::build("Zoomlet Military"), 0x000, "DNLD"), "Zoomlet Military",
         militaryReads},
        {"u.bin", romimage::build("Zoomlet 1 (U)"), "Zoomlet 1 (U)", firstGameReads},
        {"e.gen", romimage::build("Zoomlet 1 (E)"), "Zoomlet 1 (E)", firstGameReads},
        {"j.bin", romimage::build("Zoomlet 96 (J-Cart)"), "Zoomlet 96 (J-Cart)", zoomlet96Reads},
        {"n.Gen", romimage::build("Zoomlet 96"), "Zoomlet 96", zoomlet96Reads},
        {"other.bin", romimage::build("Error!"), "Error!", {{0x100, 15}, {0x183, 11}}},
        {"z2.smd", z2, "Error!", {}},
        {"z2.bin.zip", z2, "Error!", {}},
        {"v1.0/zoomlet", z2, "Error!", {}},
        {"one.bin", "S", "Error!", {{0x100, 15}}},
        {"cut.bin", romimage::build("Zoomlet 2", 0x188), "Error!", {{0x100, 15}, {0x183, 11}}},
    };
    QTemporaryDir dir;
    ASSERT_TRUE(QDir().mkpath(dir.filePath("v1.0")));
    for (const Case& c : cases) {
        ScriptedPrompter prompter;
        ScriptedFileSystem fs;
        RomContext rom{fs, prompter, romimage::writeFile(dir.path(), c.fileName, c.image), {}};
        ASSERT_TRUE(detectROM::identifyROM(rom, rom.romPath));
        EXPECT_EQ(rom.romVariant, c.variant) << c.fileName;
        EXPECT_EQ(fs.reads, c.reads) << c.fileName;
        EXPECT_TRUE(prompter.messages.empty());
    }
}

TEST(Identify, NoFileEmptyPathDirectoryOrFifoFailsBeforeAnyRead) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir().mkpath(dir.filePath("folder.bin")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("pipe.bin")).constData(), 0600), 0);
    for (const QString& path : {QString(), dir.filePath("missing.bin"), dir.filePath("folder.bin"),
                                dir.filePath("pipe.bin")}) {
        ScriptedPrompter prompter;
        ScriptedFileSystem fs;
        RomContext rom{fs, prompter, path, {}};
        EXPECT_FALSE(detectROM::identifyROM(rom, path)) << path.toStdString();
        EXPECT_EQ(rom.romVariant, "");
        EXPECT_TRUE(fs.reads.empty() && prompter.messages.empty());
    }
}

TEST(ReadText, ReadsBytesAsTheyAreAndZerosPastTheEnd) {
    QTemporaryDir dir;
    ScriptedPrompter prompter;
    ScriptedFileSystem fs;
    RomContext rom{fs, prompter, {}, {}};
    EXPECT_EQ(readwritetext::readText(rom, 0x100, 0), ""); // not even a path is needed
    const QString sub = dir.filePath(QStringLiteral("Räder & Rennen 速い"));
    ASSERT_TRUE(QDir().mkpath(sub));
    rom.romPath = romimage::writeFile(sub, "ßpeed ROM.bin", std::string("AB\0\xff\x80", 5));
    EXPECT_EQ(readwritetext::readText(rom, 1, 4), std::string("B\0\xff\x80", 4));
    EXPECT_EQ(readwritetext::readText(rom, 3, 4), std::string("\xff\x80\0\0", 4));
    EXPECT_EQ(fs.reads, (Reads{{1, 4}, {3, 4}}));
    EXPECT_TRUE(prompter.messages.empty());
}

TEST(ReadText, EveryFailingReadShowsRomNotFoundOnce) {
    QTemporaryDir dir;
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("pipe.bin")).constData(), 0600), 0);
    ScriptedPrompter prompter;
    ScriptedFileSystem fs;
    // A pipe put at the path must neither block nor be read.
    for (const QString& path : {dir.filePath("nothing here.bin"), dir.filePath("pipe.bin")}) {
        RomContext rom{fs, prompter, path, {}};
        EXPECT_EQ(readwritetext::readText(rom, 0, 4), "");
    }
    ASSERT_EQ(prompter.messages.size(), 2u);
    for (const Message& m : prompter.messages) {
        EXPECT_EQ(m.text, "ROM not found!");
        EXPECT_EQ(m.shownTitle(), "Hexwarden");
        EXPECT_EQ(m.icon, MessageIcon::Critical);
        EXPECT_EQ(m.buttons, MessageButtons::Ok);
    }
}

// A table that ends exactly at the end of the file is whole; one byte less is cut off.
TEST(SlotTable, IsReadWholeOrRefusedAsCutOff) {
    QTemporaryDir dir;
    ScriptedPrompter prompter;
    const auto* row = varianttable::findSupported("Zoomlet Military");
    const std::string image = romimage::build("Zoomlet Military", 0x50CDC + 20);
    for (const qint64 size : {0x50CDC + 20, 0x50CDC + 19}) {
        RomContext rom{systemFileSystem(),
                       prompter,
                       romimage::writeFile(dir.path(), "m.bin", image.substr(0, size)),
                       {}};
        const slottable::Table table = slottable::read(rom, *row);
        EXPECT_EQ(table.status,
                  size == 0x50CDC + 20 ? slottable::Status::Read : slottable::Status::Truncated);
        EXPECT_EQ(table.bytes, size == 0x50CDC + 20 ? image.substr(0x50CDC) : "");
    }
}

} // namespace
