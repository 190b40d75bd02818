// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "rom/detectrom.h"
#include "rom/readwritetext.h"
#include "rom/varianttable.h"
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

struct Case {
    const char* fileName;
    std::string image; // none: the path holds no file, a folder or a pipe
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
        {"", {}, "", {}},
        {"missing.bin", {}, "", {}},
        {"v1.0", {}, "", {}},
        {"pipe.bin", {}, "", {}},
    };
    QTemporaryDir dir;
    ASSERT_TRUE(QDir().mkpath(dir.filePath("v1.0")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("pipe.bin")).constData(), 0600), 0);
    for (const Case& c : cases) {
        ScriptedFileSystem fs;
        const QString path = c.image.empty() ? *c.fileName ? dir.filePath(c.fileName) : QString()
                                             : romimage::writeFile(dir.path(), c.fileName, c.image);
        RomContext rom{fs, path, {}};
        const detectROM::Identification identified = detectROM::identifyROM(rom, path);
        EXPECT_EQ(identified.plainFile, !c.image.empty()) << c.fileName;
        EXPECT_EQ(identified.failedReads, 0) << c.fileName;
        const std::string named = rom.romVariant    ? std::string(displayName(*rom.romVariant))
                                  : c.image.empty() ? ""
                                                    : "Error!";
        EXPECT_EQ(named, c.variant) << c.fileName;
        EXPECT_EQ(fs.reads, c.reads) << c.fileName;
    }
}

// Bytes as they are, zeros past the end; a missing file, a pipe (never read) or a position before
// the start reads as nothing at all.
TEST(ReadText, ReadsBytesAsTheyAreOrNothing) {
    QTemporaryDir dir;
    ScriptedFileSystem fs;
    RomContext rom{fs, romimage::writeFile(dir.path(), "ß.bin", std::string("A\0\xff\x80", 4)), {}};
    EXPECT_EQ(readwritetext::readText(rom, 1, 5), std::string("\0\xff\x80\0\0", 5));
    EXPECT_EQ(readwritetext::readText(rom, 0, 0), std::string());
    EXPECT_EQ(fs.reads, (Reads{{1, 5}}));
    EXPECT_EQ(readwritetext::readText(rom, -1, 4), std::nullopt);
    EXPECT_EQ(readwritetext::readText(rom, 0, -4), std::nullopt);
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("pipe.bin")).constData(), 0600), 0);
    for (const char* name : {"nothing here.bin", "pipe.bin"}) {
        rom.romPath = dir.filePath(name);
        EXPECT_EQ(readwritetext::readText(rom, 0, 4), std::nullopt) << name;
    }
}

} // namespace
