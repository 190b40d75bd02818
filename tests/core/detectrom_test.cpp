#include "rom/detectrom.h"
#include "romimage/romimage.h"
#include "support/fakes.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

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

// A plain image as an SMD dump stores it: a 512-byte header, then 16 KiB blocks with the odd
// bytes in the first half and the even bytes in the second.
std::string interleaved(const std::string& plain) {
    std::string smd(512, '\0');
    smd[0] = static_cast<char>(plain.size() / 0x4000);
    smd[1] = 3;
    smd[8] = '\xaa';
    smd[9] = '\xbb';
    for (std::size_t block = 0; block < plain.size(); block += 0x4000) {
        std::string out(0x4000, '\0');
        for (std::size_t i = 0; i < 0x2000; ++i) {
            out[i] = plain[block + 2 * i + 1];
            out[0x2000 + i] = plain[block + 2 * i];
        }
        smd += out;
    }
    return smd;
}

struct Case {
    const char* name;
    QString fileName;
    std::function<std::string()> image;
    std::string variant;
    Reads reads;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

const Case cases[] = {
    {"Zoomlet2UpperCaseExtension", "z2.BIN", [] { return romimage::build("Zoomlet 2"); },
     "Zoomlet 2", zoomlet2Reads},
    {"Zoomlet2JCart", "z2j.bin", [] { return romimage::build("Zoomlet 2 (J-Cart)"); },
     "Zoomlet 2 (J-Cart)", zoomlet2Reads},
    {"GenesisNameWithFourBlanks", "g.bin",
     [] { return with(romimage::build("Zoomlet 2"), 0x100, "SEGA GENESIS    "); }, "Zoomlet 2",
     zoomlet2Reads},
    {"LowerCaseConsoleName",
     "l.bin",
     [] { return with(romimage::build("Zoomlet 2"), 0x100, "sega mega drive"); },
     "Error!",
     {{0x100, 15}}},
    {"MilitaryWinsOverFirstGameVector", "m.bin",
     [] { return with(romimage::build("Zoomlet Military"), 0x00A, "z"); }, "Zoomlet Military",
     militaryReads},
    {"MilitaryWinsOverDownloadMark", "m2.bin",
     [] { return with(romimage::build("Zoomlet Military"), 0x000, "DNLD"); }, "Zoomlet Military",
     militaryReads},
    {"FirstGameU", "u.bin", [] { return romimage::build("Zoomlet 1 (U)"); }, "Zoomlet 1 (U)",
     firstGameReads},
    {"FirstGameE", "e.gen", [] { return romimage::build("Zoomlet 1 (E)"); }, "Zoomlet 1 (E)",
     firstGameReads},
    {"Zoomlet96JCart", "j.bin", [] { return romimage::build("Zoomlet 96 (J-Cart)"); },
     "Zoomlet 96 (J-Cart)", zoomlet96Reads},
    {"Zoomlet96IsTheFallback", "n.Gen", [] { return romimage::build("Zoomlet 96"); }, "Zoomlet 96",
     zoomlet96Reads},
    {"AnotherGame",
     "other.bin",
     [] { return romimage::build("Error!"); },
     "Error!",
     {{0x100, 15}, {0x183, 11}}},
    {"SmdExtensionIsNeverRead",
     "z2.smd",
     [] { return romimage::build("Zoomlet 2"); },
     "Error!",
     {}},
    {"ZipAfterBinIsNeverRead",
     "z2.bin.zip",
     [] { return romimage::build("Zoomlet 2"); },
     "Error!",
     {}},
    {"NoExtensionInDottedFolder",
     "v1.0/zoomlet",
     [] { return romimage::build("Zoomlet 2"); },
     "Error!",
     {}},
    {"EmptyFile", "empty.bin", [] { return std::string(); }, "Error!", {{0x100, 15}}},
    {"OneByteFile", "one.bin", [] { return std::string("S"); }, "Error!", {{0x100, 15}}},
    {"EndsInsideTheSerial",
     "cut.bin",
     [] { return romimage::build("Zoomlet 2", 0x188); },
     "Error!",
     {{0x100, 15}, {0x183, 11}}},
    {"InterleavedDumpRenamed",
     "smd.bin",
     [] { return interleaved(romimage::build("Zoomlet 2")); },
     "Error!",
     {{0x100, 15}}},
};

class Identify : public ::testing::TestWithParam<Case> {};

TEST_P(Identify, NamesTheVariantWithOnlyTheReadsItNeeds) {
    const Case& c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(QDir().mkpath(dir.filePath("v1.0")));
    ScriptedPrompter prompter;
    ScriptedFileSystem fs;
    RomContext rom{fs, prompter, romimage::writeFile(dir.path(), c.fileName, c.image()), {}};

    ASSERT_TRUE(detectROM::identifyROM(rom, rom.romPath));
    EXPECT_EQ(rom.romVariant, c.variant);
    Reads reads;
    for (const auto& read : fs.reads) {
        EXPECT_EQ(read.path, rom.romPath);
        reads.emplace_back(read.offset, read.length);
    }
    EXPECT_EQ(reads, c.reads);
    EXPECT_TRUE(prompter.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Images, Identify, ::testing::ValuesIn(cases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(IdentifyFailure, NoFileEmptyPathOrDirectoryFailsBeforeAnyRead) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir().mkpath(dir.filePath("folder.bin")));
    for (const QString& path :
         {QString(), dir.filePath("missing.bin"), dir.filePath("folder.bin")}) {
        ScriptedPrompter prompter;
        ScriptedFileSystem fs;
        RomContext rom{fs, prompter, path, {}};
        EXPECT_FALSE(detectROM::identifyROM(rom, path)) << path.toStdString();
        EXPECT_EQ(rom.romVariant, "");
        EXPECT_TRUE(fs.reads.empty());
        EXPECT_TRUE(prompter.messages.empty());
    }
}

TEST(IdentifyFailure, UnreadableImageShowsOneRomNotFoundAndIsNotSupported) {
    QTemporaryDir dir;
    ScriptedPrompter prompter;
    ScriptedFileSystem fs;
    fs.failReads = true;
    RomContext rom{
        fs, prompter, romimage::writeFile(dir.path(), "z.bin", romimage::build("Zoomlet 2")), {}};
    ASSERT_TRUE(detectROM::identifyROM(rom, rom.romPath));
    EXPECT_EQ(rom.romVariant, "Error!");
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, "ROM not found!");
}

} // namespace
