// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "support/fakes.h"
#include "tracks/startup.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const char* const chooseRom = "Information|Lopwinder|You must choose a ROM! Closing down.";
const char* const notFound = "Critical|Hexwarden|ROM not found!";
const char* const notSupported =
    "Information|Lopwinder|This ROM is either not a Mega Drive Zoomlet ROM; or in SMD format, "
    "which is not supported. Now closing down.";

// A message as one line: its icon, the title it shows and its text.
std::string describe(const Message& message) {
    const char* const icons[] = {"None", "Information", "Exclamation", "Critical"};
    return icons[static_cast<int>(message.icon)] +
           ("|" + message.shownTitle() + "|" + message.text).toStdString();
}

enum class ReadFault { None, Unreadable, GoneBeforeTable };

TEST(StartUp, RefusesWhatCannotBeEditedInItsOwnWordsAndWritesNothing) {
    struct Row {
        const char* name;
        const char* fileName; // empty: the dialog was cancelled
        std::string image;    // empty: no file at all
        ReadFault fault;
        std::vector<std::string> messages;
        const char* title;
    };
    const Row rows[] = {
        {"cancelled", "", {}, ReadFault::None, {chooseRom}, ""},
        {"missing", "gone.bin", {}, ReadFault::None, {chooseRom}, ""},
        {"another game", "o.bin", romimage::build("Error!"), ReadFault::None, {notSupported}, ""},
        {"the first game",
         "u.BIN",
         romimage::build("Zoomlet 1 (U)"),
         ReadFault::None,
         {"Information|Lopwinder|Zoomlet 1 is not supported due to not having a Time Trial mode, "
          "and therefore\r\nno choosable track list. Quitting application - please choose one of "
          "the later titles."},
         "Lopwinder - Zoomlet 1 (U)"},
        {"unreadable",
         "l.bin",
         romimage::build("Zoomlet 2"),
         ReadFault::Unreadable,
         {notFound, notSupported},
         ""},
        {"gone before its track table",
         "g.bin",
         romimage::build("Zoomlet 2"),
         ReadFault::GoneBeforeTable,
         {notFound, chooseRom},
         "Lopwinder - Zoomlet 2"},
        {"cut inside its track table",
         "t.bin",
         romimage::build("Zoomlet Military", 0x50CDC + 19),
         ReadFault::None,
         {"Critical|Lopwinder|This ROM file is too short to hold its track table: it is probably "
          "cut off or damaged. Nothing has been changed. Now closing down."},
         "Lopwinder - Zoomlet Military"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QTemporaryDir dir;
        ScriptedFileSystem fs;
        fs.failReads = row.fault == ReadFault::Unreadable;
        fs.vanishAfterReads = row.fault == ReadFault::GoneBeforeTable ? 3 : -1;
        const QString path = row.image.empty()
                                 ? (*row.fileName ? dir.filePath(row.fileName) : QString())
                                 : romimage::writeFile(dir.path(), row.fileName, row.image);
        const startup::Outcome outcome = startup::open(fs, path);
        std::vector<std::string> shown;
        for (const Message& message : outcome.messages)
            shown.push_back(describe(message));
        EXPECT_EQ(shown, row.messages);
        EXPECT_FALSE(outcome.editing());
        EXPECT_EQ(outcome.windowTitle, row.title);
        EXPECT_EQ(fs.writeOpens, 0);
        if (row.fault != ReadFault::GoneBeforeTable && !row.image.empty()) {
            EXPECT_EQ(romimage::readFile(path), row.image);
        }
    }
}

// The table is read at the variant's own offset (a decoy lies at the other revision's), and each
// list starts on its slot's ID, or on nothing where the catalogue has no such ID.
TEST(StartUp, ReadsTheTableAtTheVariantsOffsetAndStartsEachListOnItsId) {
    struct Row {
        const char* variant;
        qint32 offset;
        int slotCount;
        std::vector<int> selected; // for the IDs 00 0A 2D 11 23 1E 43 80 FF
    };
    const Row rows[] = {
        {"Zoomlet 2", 0x3E6AE, 27, {0, 10, 43, -1, 33, 29, -1, -1, -1}},
        {"Zoomlet 2 (J-Cart)", 0x3EA46, 27, {0, 10, 43, -1, 33, 29, -1, -1, -1}},
        {"Zoomlet 96", 0x452C5, 27, {0, 10, 40, -1, -1, 29, -1, -1, -1}},
        {"Zoomlet 96 (J-Cart)", 0x452C5, 27, {0, 10, 40, -1, -1, 29, -1, -1, -1}},
        {"Zoomlet Military", 0x50CDC, 20, {0, 10, -1, 17, -1, -1, 33, -1, -1}},
    };
    const std::string ids("\x00\x0A\x2D\x11\x23\x1E\x43\x80\xFF", 9);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.variant);
        // The table ends at the end of the file, except for Zoomlet 2, whose decoy lies beyond it.
        std::string image =
            romimage::build(row.variant, std::max(row.offset, 0x3EA46) + row.slotCount);
        romimage::put(image, row.offset, ids);
        romimage::put(image, row.offset == 0x3E6AE ? 0x3EA46 : 0x3E6AE, std::string(27, 1));
        QTemporaryDir dir;
        ScriptedFileSystem fs;
        const QString path = romimage::writeFile(dir.path(), "rom.bin", image);
        const startup::Outcome outcome = startup::open(fs, path);
        ASSERT_TRUE(outcome.editing());
        EXPECT_TRUE(outcome.messages.empty());
        EXPECT_EQ(outcome.windowTitle, QStringLiteral("Lopwinder - ") + row.variant);
        EXPECT_EQ(outcome.rom.path, path);
        EXPECT_EQ(outcome.rom.table, image.substr(row.offset, row.slotCount));
        EXPECT_EQ(fs.reads.back(), std::make_pair(qint64{row.offset}, qint64{row.slotCount}));
        ASSERT_EQ(outcome.selected.size(), std::size_t(row.slotCount));
        EXPECT_EQ(std::vector<int>(outcome.selected.begin(), outcome.selected.begin() + 9),
                  row.selected);
        EXPECT_EQ(fs.writeOpens, 0);
    }
    const OpenFileRequest asked = startup::romRequest();
    EXPECT_EQ(asked.title, "Select a ROM...");
    EXPECT_EQ(asked.filterName, "ROM Files (*.bin)");
    EXPECT_EQ(asked.patterns, QStringList({"*.bin", "*.gen"}));
}

} // namespace
