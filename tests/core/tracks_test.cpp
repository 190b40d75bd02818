#include "romimage/romimage.h"
#include "support/fakes.h"
#include "tracks/catalogues.h"
#include "tracks/savereset.h"
#include "tracks/trackid.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using Fault = ScriptedFileSystem::Fault;
constexpr qint32 offset = 0x3EA46; // "Zoomlet 2 (J-Cart)"
const std::string chosen(27, '\x21');
const QString saved = "File saved successfully.";
const QString resetDone = "ROM has been set to default values. Now quitting application.";

std::string with(std::string image, qint64 at, const std::string& bytes) {
    romimage::put(image, at, bytes);
    return image;
}

std::string hex(const char* text) {
    const QByteArray bytes = QByteArray::fromHex(text);
    return bytes.toStdString();
}

std::string ids(catalogues::Catalogue catalogue) {
    std::string result;
    for (const std::string_view label : catalogues::labels(catalogue))
        result += std::string(label.substr(0, 2)) + " ";
    return result;
}

TEST(Catalogues, HoldTheTrackIdsInListOrderInLabelsOfTheirGrammar) {
    EXPECT_EQ(ids(catalogues::Catalogue::Zoomlet2),
              "00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10 12 13 14 15 16 17 18 19 1A 1B "
              "1C 1D 1E 1F 21 22 23 24 25 26 27 28 29 2A 2B 2C 2D 2E 2F 30 31 32 34 ");
    EXPECT_EQ(ids(catalogues::Catalogue::Zoomlet96),
              "00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10 12 13 14 15 16 17 18 19 1A 1B "
              "1C 1D 1E 1F 21 22 24 25 27 29 2A 2B 2C 2D 2E 2F 30 31 32 33 34 35 36 3C 3D 3E 3F "
              "40 41 ");
    EXPECT_EQ(ids(catalogues::Catalogue::ZoomletMilitary),
              "00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10 11 12 13 14 15 16 17 18 19 1A 1B "
              "1C 1D 40 41 42 43 ");
    const QRegularExpression withSetting("^[0-9A-F]{2}: [^()]+ \\([^(),]+, [^(),]+ - [^(),]+\\)$");
    const QRegularExpression withoutSetting("^[0-9A-F]{2}: [^()]+ \\([^(),]+, [^(),\\-]+\\)$");
    for (const auto c : {catalogues::Catalogue::Zoomlet2, catalogues::Catalogue::Zoomlet96,
                         catalogues::Catalogue::ZoomletMilitary}) {
        for (const std::string_view label : catalogues::labels(c)) {
            const auto& grammar =
                c == catalogues::Catalogue::Zoomlet2 ? withSetting : withoutSetting;
            EXPECT_TRUE(grammar.match(QLatin1String(label)).hasMatch()) << label;
        }
    }
}

TEST(TrackId, ReadsAndWritesTheLeadingHexDigits) {
    EXPECT_EQ(trackid::text(0x0A), "0A");
    EXPECT_EQ(trackid::text(45), "2D");
    const auto read = trackid::slotStringFromLabels({"09: a", "", "fF", "7", "Track", "2D: b"});
    EXPECT_EQ(read.bytes, "\x09\xff\x07\x2d");
    EXPECT_EQ(read.slotsWithoutTrack, (std::vector<int>{2, 5}));
}

// Reset writes each variant's factory order at its own offset and nothing else.
TEST(SaveReset, ResetWritesTheFactoryOrderOfEachVariant) {
    const std::pair<const char*, std::pair<qint64, const char*>> orders[] = {
        {"Zoomlet 2", {0x3E6AE, "0905222404311E0F2A13271B0E022E340C1217031D2F2C28010D30"}},
        {"Zoomlet 2 (J-Cart)", {0x3EA46, "0905222404311E0F2A13271B0E022D340C1217031D2F2C28010D30"}},
        {"Zoomlet 96", {0x452C5, "02403316052D3C1C01090D193008172413270E1D312C3F222A3E29"}},
        {"Zoomlet 96 (J-Cart)",
         {0x452C5, "02403316052D3C1C01090D193008172413270E1D312C3F222A3E29"}},
        {"Zoomlet Military", {0x50CDC, "0103060B0D0F14171A1B0205080A0C111216191D"}},
    };
    for (const auto& [variant, order] : orders) {
        QTemporaryDir dir;
        std::string image = romimage::build(variant);
        romimage::put(image, order.first, std::string(27, '\0'));
        const QString path = romimage::writeFile(dir.path(), "r.bin", image);
        savereset::LoadedRom rom{path, varianttable::findSupported(variant), std::nullopt};
        EXPECT_TRUE(savereset::reset(systemFileSystem(), rom).written) << variant;
        EXPECT_EQ(romimage::readFile(path), with(image, order.first, hex(order.second))) << variant;
    }
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
                          with(atClick, offset,
                               reset ? hex("0905222404311E0F2A13271B0E022D340C1217031D2F2C28010D30")
                                     : chosen));
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
