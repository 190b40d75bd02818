#include "romimage/romimage.h"
#include "support/fakes.h"
#include "tracks/savereset.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using Fault = ScriptedFileSystem::Fault;
constexpr qint32 offset = 0x3EA46; // "Zoomlet 2 (J-Cart)"
const std::string chosen(27, '\x21');
const QString saved = "File saved successfully.";
const QString resetDone = "ROM has been set to default values. Now quitting application.";

std::string factory() {
    const auto* row = varianttable::findSupported("Zoomlet 2 (J-Cart)");
    return {row->factoryOrder.begin(), row->factoryOrder.end()};
}

std::string with(std::string image, qint64 at, const std::string& bytes) {
    romimage::put(image, at, bytes);
    return image;
}

struct Loaded {
    QTemporaryDir dir;
    const std::string original = romimage::build("Zoomlet 2 (J-Cart)");
    const QString path = romimage::writeFile(dir.path(), "rom.bin", original);
    savereset::LoadedRom rom{path, varianttable::findSupported("Zoomlet 2 (J-Cart)"),
                             original.substr(offset, 27)};
};

savereset::Feedback click(RomFileSystem& fs, savereset::LoadedRom& rom, bool reset) {
    return reset ? savereset::reset(fs, rom) : savereset::save(fs, rom, QStringList(27, "21: x"));
}

// What can happen to the file between start-up and a click. Each case gives the file as it is
// at the click (nullopt: no plain file there) and whether Save and Reset may then write.
struct Meanwhile {
    const char* name;
    std::function<void(Loaded&)> change;
    bool saveWrites, resetWrites;
    const char* refusal; // part of the message when refused
    bool retry;          // whether the message invites the user to try again
};

const Meanwhile meanwhile[] = {
    {"untouched", [](Loaded&) {}, true, true, "", false},
    {"table changed by another writer",
     [](Loaded& l) {
         romimage::writeFile(l.dir.path(), "rom.bin", with(l.original, offset + 2, "\x0A"));
     },
     false, true, "Another program changed the track table", false},
    {"replaced in place by another variant",
     [](Loaded& l) { romimage::writeFile(l.dir.path(), "rom.bin", romimage::build("Zoomlet 2")); },
     false, false, "no longer the ROM that was loaded", false},
    {"replaced by a new file of another variant",
     [](Loaded& l) {
         QFile::remove(l.path);
         romimage::writeFile(l.dir.path(), "rom.bin", romimage::build("Zoomlet 96"));
     },
     false, false, "no longer the ROM that was loaded", false},
    {"replaced by a FIFO",
     [](Loaded& l) {
         QFile::remove(l.path);
         ASSERT_EQ(::mkfifo(QFile::encodeName(l.path).constData(), 0600), 0);
     },
     false, false, "not a plain file", true},
    {"deleted", [](Loaded& l) { QFile::remove(l.path); }, false, false, "could not be opened",
     true},
    {"truncated", [](Loaded& l) { QFile::resize(l.path, offset + 10); }, false, false,
     "too short to hold its track table", false},
    {"grown", [](Loaded& l) { QFile::resize(l.path, l.original.size() + 100); }, true, true, "",
     false},
};

TEST(SaveReset, WriteOnlyIntoTheRomTheyLoadedAsTheyLoadedIt) {
    for (const bool reset : {false, true}) {
        for (const Meanwhile& m : meanwhile) {
            SCOPED_TRACE(std::string(m.name) + (reset ? " / reset" : " / save"));
            Loaded l;
            m.change(l);
            const QFileInfo before(l.path);
            const std::string atClick = before.isFile() ? romimage::readFile(l.path) : "";
            const savereset::Feedback f = click(systemFileSystem(), l.rom, reset);

            const bool writes = reset ? m.resetWrites : m.saveWrites;
            EXPECT_EQ(f.written, writes);
            EXPECT_EQ(f.message.icon, writes ? MessageIcon::Information : MessageIcon::Critical);
            if (writes) {
                EXPECT_EQ(f.message.text, reset ? resetDone : saved);
                EXPECT_EQ(romimage::readFile(l.path),
                          with(atClick, offset, reset ? factory() : chosen));
            } else {
                EXPECT_TRUE(f.message.text.contains(m.refusal)) << f.message.text.toStdString();
                EXPECT_TRUE(
                    f.message.text.startsWith(reset ? "Nothing was reset" : "Nothing was saved"));
                EXPECT_EQ(f.message.text.contains(reset ? "reset again." : "save again."), m.retry);
                EXPECT_EQ(QFileInfo(l.path).isFile(), before.isFile());
                if (before.isFile()) {
                    EXPECT_EQ(romimage::readFile(l.path), atClick);
                }
            }
        }
    }
}

TEST(SaveReset, EachFailureIsReportedWithWhatTheFileHolds) {
    struct Row {
        Fault fault;
        const char* headline;
        std::size_t newBytes;      // how many of the chosen bytes reach the file
        bool nextSaveTakesTheDisk; // a later Save accepts a table changed since
    };
    const Row rows[] = {
        {Fault::OpenForWrite, "Nothing was saved", 0, false},
        {Fault::WriteNothing, "not saved completely", 0, true},
        {Fault::ShortWrite, "not saved completely", 13, true},
        {Fault::Truncate, "not saved completely", 27, false}, // cut short while written
        {Fault::Flush, "may not have been saved", 27, true},
        {Fault::Close, "may not have been saved", 27, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.headline + std::to_string(row.newBytes));
        Loaded l;
        ScriptedFileSystem fs;
        fs.fault = row.fault;
        const savereset::Feedback f = click(fs, l.rom, false);
        EXPECT_FALSE(f.written);
        EXPECT_EQ(f.message.icon, MessageIcon::Critical);
        EXPECT_TRUE(f.message.text.contains(row.headline)) << f.message.text.toStdString();
        std::string expected = with(l.original, offset, chosen.substr(0, row.newBytes));
        if (row.fault == Fault::Truncate)
            expected = with(std::string(offset + 27, '\0'), offset, chosen);
        EXPECT_EQ(romimage::readFile(l.path), expected);

        // The next Save accepts what a failed one may have left on disk; a refusal changes nothing.
        fs.fault = Fault::None;
        romimage::writeFile(l.dir.path(), "rom.bin", with(expected, offset + 1, "\x3F"));
        EXPECT_EQ(click(fs, l.rom, false).written, row.nextSaveTakesTheDisk);
    }
}

TEST(SaveReset, TwoRunsOnOneFileNeverUndoEachOther) {
    Loaded l;
    savereset::LoadedRom second = l.rom;
    EXPECT_EQ(click(systemFileSystem(), l.rom, false).message.text, saved);
    const savereset::Feedback late = click(systemFileSystem(), second, false);
    EXPECT_TRUE(late.message.text.contains("Close Lopwinder and open the file again"));
    EXPECT_EQ(romimage::readFile(l.path), with(l.original, offset, chosen));
    // The first run knows what it wrote and may save again.
    EXPECT_TRUE(click(systemFileSystem(), l.rom, false).written);
}

TEST(SaveReset, SlotsWithoutATrackAreNamedAndNothingIsOpened) {
    Loaded l;
    ScriptedFileSystem fs;
    QStringList texts(27, "21: x");
    texts[4] = "";
    texts[20] = "";
    const savereset::Feedback f = savereset::save(fs, l.rom, texts);
    EXPECT_TRUE(f.message.text.startsWith(
        "Nothing was saved: no track is chosen for Level Slot 5, Level Slot 21."));
    EXPECT_EQ(f.message.icon, MessageIcon::Exclamation);
    EXPECT_EQ(fs.writeOpens, 0);
}

} // namespace
