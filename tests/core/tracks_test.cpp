// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "app/hexbyte.h"
#include "support/fakes.h"
#include "tracks/catalogues.h"
#include "tracks/savereset.h"
#include "tracks/trackid.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Another process holding a lock on the whole file until this is destroyed: a BSD lock when
// command is 0, a read lease for F_SETLEASE, else the fcntl lock of that command.
struct LockHolder {
    LockHolder(const QString& path, int command) {
        const QByteArray name = QFile::encodeName(path);
        int ready[2];
        EXPECT_EQ(::pipe(ready), 0);
        if ((pid = ::fork()) == 0) {
            ::signal(SIGIO, SIG_IGN); // told of the lease break, it keeps the lease
            const int fd = ::open(name.constData(), command == F_SETLEASE ? O_RDONLY : O_RDWR);
            struct flock whole {};
            whole.l_type = F_WRLCK;
            const char ok = (command == F_SETLEASE ? ::fcntl(fd, F_SETLEASE, F_RDLCK)
                             : command             ? ::fcntl(fd, command, &whole)
                                                   : ::flock(fd, LOCK_EX)) == 0;
            ::_exit(::write(ready[1], &ok, 1) == 1 ? ::pause() : 1); // holds it until killed
        }
        char ok = 0;
        EXPECT_TRUE(::read(ready[0], &ok, 1) == 1 && ok);
        ::close(ready[0]), ::close(ready[1]);
    }
    ~LockHolder() { ::kill(pid, SIGKILL), ::waitpid(pid, nullptr, 0); }
    pid_t pid;
};

constexpr qint32 offset = 0x3EA46; // "Zoomlet 2 (J-Cart)"
const std::string chosen(27, '\x21');
const char* const jCartOrder = "0905222404311E0F2A13271B0E022D340C1217031D2F2C28010D30";
const std::string jCartFactory = QByteArray::fromHex(jCartOrder).toStdString();

struct Loaded {
    QTemporaryDir dir;
    const std::string original = romimage::build("Zoomlet 2 (J-Cart)");
    const QString path = romimage::writeFile(dir.path(), "rom.bin", original);
    savereset::LoadedRom rom{path, varianttable::findSupported(RomVariant::Zoomlet2JCart),
                             original.substr(offset, 27)};
    mutable ScriptedFileSystem fs;
    mutable std::unique_ptr<LockHolder> holder;
    void hold(int command) const { holder = std::make_unique<LockHolder>(path, command); }
    void answer(std::deque<int> bsd, std::deque<int> record) const {
        fs.bsdAnswers = std::move(bsd), fs.recordAnswers = std::move(record);
    }
    void replace(const std::string& bytes) const {
        romimage::writeFile(dir.path(), "rom.bin", bytes);
    }
};

savereset::Feedback click(RomFileSystem& fs, savereset::LoadedRom& rom, bool reset) {
    return reset ? savereset::reset(fs, rom) : savereset::save(fs, rom, QStringList(27, "21: x"));
}

// What can happen to the file between start-up and a click, and whether Save and Reset may then
// write; a refusal names what happened, and invites a retry only where one can help. The lock
// rows: another process holds a lock or lease, or the two lock calls answer as given (in use when
// either kind is held elsewhere, on unlocked only where neither kind is kept, EINTR asked again,
// any other answer a failure).
TEST(SaveReset, WriteOnlyIntoTheRomTheyLoadedAsTheyLoadedIt) {
    struct Row {
        const char* name;
        std::function<void(const Loaded&)> meanwhile;
        bool saveWrites, resetWrites;
        const char* refusal;
        bool retry;
    };
    const char* const inUse = "Another program is using the ROM file.\r\n\r\nWait until that "
                              "program is done with it, then";
    const char* const lockFailed = "could not be locked: Input/output error";
    const Row rows[] = {
        {"nothing happened", [](const Loaded&) {}, true, true, "", false},
        {"another program changed the table",
         [](const Loaded& l) { l.replace(with(l.original, offset + 2, "\x0A")); }, false, true,
         "loaded it.\r\n\r\nClose Lopwinder and open the file again to see the current tracks.",
         false},
        {"replaced by another variant",
         [](const Loaded& l) { QFile::remove(l.path), l.replace(romimage::build("Zoomlet 2")); },
         false, false,
         "unchanged.\r\n\r\nThe file is no longer the ROM that was loaded: it is not a \"Zoomlet 2 "
         "(J-Cart)\" image any more.\r\n\r\nTo edit the file as it is now, close Lopwinder and "
         "open it again.",
         false},
        {"a pipe in its place",
         [](const Loaded& l) { QFile::remove(l.path), ::mkfifo(QFile::encodeName(l.path), 0600); },
         false, false, "not a plain file", true},
        {"deleted", [](const Loaded& l) { QFile::remove(l.path); }, false, false,
         "could not be opened", true},
        {"cut inside the table", [](const Loaded& l) { QFile::resize(l.path, offset + 26); }, false,
         false, "too short to hold its track table", false},
        {"cut right after the table", [](const Loaded& l) { QFile::resize(l.path, offset + 27); },
         true, true, "", false},
        {"grown", [](const Loaded& l) { QFile::resize(l.path, l.original.size() + 9); }, true, true,
         "", false},
        {"BSD lock held elsewhere", [](const Loaded& l) { l.hold(0); }, false, false, inUse, true},
        {"open-file lock held elsewhere", [](const Loaded& l) { l.hold(F_OFD_SETLK); }, false,
         false, inUse, true},
        {"record lock held elsewhere", [](const Loaded& l) { l.hold(F_SETLK); }, false, false,
         inUse, true},
        {"read lease held elsewhere", [](const Loaded& l) { l.hold(F_SETLEASE); }, false, false,
         inUse, true},
        {"BSD kind answers in use", [](const Loaded& l) { l.answer({EWOULDBLOCK}, {}); }, false,
         false, inUse, true},
        {"no BSD kind, record kind answers EACCES",
         [](const Loaded& l) { l.answer({EOPNOTSUPP}, {EACCES}); }, false, false, inUse, true},
        {"BSD kind fails, record kind answers EAGAIN",
         [](const Loaded& l) { l.answer({EIO}, {EAGAIN}); }, false, false, inUse, true},
        {"no BSD kind, record kind taken", [](const Loaded& l) { l.answer({EOPNOTSUPP}, {}); },
         true, true, "", false},
        {"neither kind kept (ENOLCK, EOPNOTSUPP)",
         [](const Loaded& l) { l.answer({ENOLCK}, {EOPNOTSUPP}); }, true, true, "", false},
        {"neither kind kept (ENOSYS, EINVAL)",
         [](const Loaded& l) { l.answer({ENOSYS}, {EINVAL}); }, true, true, "", false},
        {"interrupted calls asked again",
         [](const Loaded& l) {
             l.answer({EINTR, EINTR, 0}, {EINTR, 0});
         },
         true, true, "", false},
        {"BSD kind fails", [](const Loaded& l) { l.answer({EIO}, {}); }, false, false, lockFailed,
         true},
        {"record kind fails", [](const Loaded& l) { l.answer({EOPNOTSUPP}, {EIO}); }, false, false,
         lockFailed, true},
    };
    for (const bool reset : {false, true}) {
        for (const Row& row : rows) {
            Loaded l;
            row.meanwhile(l);
            const bool isFile = QFileInfo(l.path).isFile();
            const std::string atClick = isFile ? romimage::readFile(l.path) : "";
            const savereset::Feedback f = click(l.fs, l.rom, reset);
            const QString text = f.message.text;
            SCOPED_TRACE(std::string(row.name) + (reset ? ", reset: " : ", save: ") +
                         text.toStdString());
            const bool writes = reset ? row.resetWrites : row.saveWrites;
            EXPECT_EQ(f.written, writes);
            EXPECT_EQ(f.message.icon, writes                 ? MessageIcon::Information
                                      : row.refusal == inUse ? MessageIcon::Exclamation
                                                             : MessageIcon::Critical);
            EXPECT_EQ(QFileInfo(l.path).isFile(), isFile);
            if (writes) {
                EXPECT_EQ(text, reset ? "ROM has been set to default values. Now quitting "
                                        "application."
                                      : "File saved successfully.");
                EXPECT_EQ(romimage::readFile(l.path),
                          with(atClick, offset, reset ? jCartFactory : chosen));
                continue;
            }
            EXPECT_TRUE(text.contains(row.refusal));
            EXPECT_TRUE(text.startsWith(reset ? "Nothing was reset" : "Nothing was saved"));
            EXPECT_EQ(text.contains(reset ? "reset again." : "save again."), row.retry);
            EXPECT_TRUE(!isFile || romimage::readFile(l.path) == atClick);
            if (l.holder) { // once the other program lets go, the same click writes the table only
                l.holder.reset();
                EXPECT_TRUE(click(l.fs, l.rom, reset).written);
                EXPECT_EQ(romimage::readFile(l.path),
                          with(atClick, offset, reset ? jCartFactory : chosen));
            }
        }
    }
}

TEST(SaveReset, EachFailureIsReportedWithWhatTheFileHolds) {
    struct Row {
        const char* name;
        Fault fault;
        const char* headline;
        std::size_t newBytes;      // of the chosen ones, those that reach the file
        bool nextSaveTakesTheDisk; // a later Save accepts whatever table the file holds
    };
    const Row rows[] = {
        {"not opened for writing", Fault::OpenForWrite,
         "saved; the ROM file is unchanged.\r\n\r\nThe ROM file could not be "
         "opened for writing: Permission denied",
         0, false},
        {"a read without a reason", Fault::Read,
         "saved; the ROM file is unchanged.\r\n\r\nThe ROM file could not be read: The system "
         "gave no reason.\r\n\r\nFix the cause and save again.",
         0, false},
        {"size unknown", Fault::Size,
         "saved; the ROM file is unchanged.\r\n\r\nThe ROM file's size could not be read: "
         "Input/output error\r\n\r\nFix the cause and save again.",
         0, false},
        {"written in part", Fault::ShortWrite,
         "not saved completely: the track table in the ROM file may be only partly written."
         "\r\n\r\nWriting failed: No space left on device",
         13, true},
        {"emptied while written", Fault::Truncate,
         "Another program changed the ROM file's size while it was being written"
         ".\r\n\r\nRestore the file from a copy.",
         27, false},
        {"size unknown after the write", Fault::SizeAfterWrite,
         "The changes may not have been saved: the disk did not confirm the write.\r\n\r\nThe ROM "
         "file's size "
         "could not be read: Input/output error",
         27, true},
        {"not flushed", Fault::Flush,
         "not have been saved: the disk did not confirm the write.\r\n\r\nThe data "
         "could not be flushed to the disk: Input/output error",
         27, true},
        {"not closed", Fault::Close,
         "\r\n\r\nThe file could not be closed: Input/output error\r\n\r\nFix the "
         "cause and save again.",
         27, true},
    };
    for (const auto& [name, fault, headline, newBytes, nextSaveTakesTheDisk] : rows) {
        SCOPED_TRACE(name);
        Loaded l;
        ScriptedFileSystem fs;
        fs.fault = fault;
        const savereset::Feedback f = click(fs, l.rom, false);
        EXPECT_FALSE(f.written);
        EXPECT_EQ(f.message.icon, MessageIcon::Critical);
        EXPECT_TRUE(f.message.text.contains(headline)) << f.message.text.toStdString();
        const std::string expected =
            with(fault == Fault::Truncate ? std::string(offset + 27, '\0') : l.original, offset,
                 chosen.substr(0, newBytes));
        EXPECT_EQ(romimage::readFile(l.path), expected);
        fs.fault = Fault::None;
        l.replace(with(expected, offset + 1, "\x3F"));
        EXPECT_EQ(click(fs, l.rom, false).written, nextSaveTakesTheDisk);
    }
    // A save that meets the BSD kind held elsewhere takes no record lock: of two saves at once,
    // each holding one kind, neither would write.
    Loaded held;
    held.hold(0);
    click(held.fs, held.rom, false);
    EXPECT_EQ(held.fs.lockCalls, "b");
    // While the table is written, no other program takes even a shared lock of either kind on it.
    Loaded l;
    ScriptedFileSystem fs;
    std::string taken;
    fs.beforeWrite = [&](const QString& path) {
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
        struct flock shared {};
        shared.l_type = F_RDLCK;
        taken += ::flock(fd, LOCK_SH | LOCK_NB) == 0 ? "bsd " : "";
        taken += ::fcntl(fd, F_OFD_SETLK, &shared) == 0 ? "record" : "";
        ::close(fd);
    };
    EXPECT_TRUE(click(fs, l.rom, false).written);
    EXPECT_EQ(taken, "");
    fs.fault = Fault::ShortWrite;
    EXPECT_TRUE(click(fs, l.rom, true).message.text.startsWith("The ROM was not reset completely"));
}

// Reset writes each variant's factory order at its offset, over whatever the table holds.
TEST(SaveReset, ResetWritesEachVariantsFactoryOrder) {
    struct Row {
        const char* variant;
        qint32 offset;
        const char* order;
    };
    const Row rows[] = {
        {"Zoomlet 2", 0x3E6AE, "0905222404311E0F2A13271B0E022E340C1217031D2F2C28010D30"},
        {"Zoomlet 2 (J-Cart)", offset, jCartOrder},
        {"Zoomlet 96", 0x452C5, "02403316052D3C1C01090D193008172413270E1D312C3F222A3E29"},
        {"Zoomlet 96 (J-Cart)", 0x452C5, "02403316052D3C1C01090D193008172413270E1D312C3F222A3E29"},
        {"Zoomlet Military", 0x50CDC, "0103060B0D0F14171A1B0205080A0C111216191D"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.variant);
        QTemporaryDir dir;
        const std::string factory = QByteArray::fromHex(row.order).toStdString();
        const std::string image =
            with(romimage::build(row.variant), row.offset, std::string(factory.size(), '\0'));
        savereset::LoadedRom rom{romimage::writeFile(dir.path(), "rom.bin", image),
                                 varianttable::findNamed(row.variant), std::nullopt};
        ScriptedFileSystem fs;
        EXPECT_TRUE(savereset::reset(fs, rom).written);
        EXPECT_EQ(romimage::readFile(rom.path), with(image, row.offset, factory));
    }
}

// Every byte is worked out before the file is opened: a slot on no track refuses the save whole.
TEST(SaveReset, SavesNothingWhileASlotHasNoTrack) {
    Loaded l;
    QStringList texts(27, "21: x");
    texts[1] = texts[4] = "";
    const savereset::Feedback f = savereset::save(l.fs, l.rom, texts);
    EXPECT_FALSE(f.written);
    EXPECT_EQ(f.message.icon, MessageIcon::Exclamation);
    EXPECT_EQ(f.message.text, "Nothing was saved: no track is chosen for Level Slot 2, Level Slot "
                              "5.\r\n\r\nChoose a track there and save again.");
    EXPECT_EQ(l.fs.writeOpens, 0);
}

// A list's text gives the ID in its first two characters, read as hexadecimal as far as they go.
TEST(TrackId, ReadsTheHexadecimalDigitsALabelStartsWith) {
    struct Row {
        const char* name;
        QString label;
        std::optional<quint8> id;
    };
    const Row rows[] = {
        {"a catalogue label", "2D: Quorell Bend", 0x2D},
        {"one digit", "7", 0x07},
        {"one digit, then none", "7: x", 0x07},
        {"three digits, the third not read", "123", 0x12},
        {"lower case", "a1: x", 0xA1},
        {"upper case, to F", "F3: x", 0xF3},
        {"a digit that is not ASCII",
         QString::fromUtf8("\u0663"
                           "4: x"),
         std::nullopt},
        {"no digit", "G1", std::nullopt},
        {"nothing chosen", "", std::nullopt},
    };
    for (const Row& row : rows)
        EXPECT_EQ(trackid::fromLabel(row.label), row.id) << row.name;
    const trackid::SlotString texts = trackid::slotStringFromLabels({"0A: x", "", "ff", "z"});
    EXPECT_EQ(texts.bytes, "\x0A\xFF");
    EXPECT_EQ(texts.slotsWithoutTrack, std::vector<int>({2, 4}));
}

// Each catalogue offers its IDs in rising order: these, no more.
TEST(Catalogues, OfferEachVariantsTrackIds) {
    struct Row {
        const char* variant;
        const char* ids; // ranges, in list order
    };
    const Row rows[] = {{"Zoomlet 2", "00-10 12-1F 21-32 34"},
                        {"Zoomlet 96", "00-10 12-1F 21-22 24-25 27 29-36 3C-41"},
                        {"Zoomlet Military", "00-1D 40-43"}};
    for (const Row& row : rows) {
        std::string listed, expected;
        for (const std::string_view label :
             catalogues::labels(*varianttable::findNamed(row.variant)->catalogue))
            listed += std::string(label.substr(0, 2)) + " ";
        for (const QString& range : QString(row.ids).split(' ')) {
            for (int id = range.left(2).toInt(nullptr, 16);
                 id <= range.right(2).toInt(nullptr, 16);)
                expected += hexByte(static_cast<unsigned char>(id++)) + " ";
        }
        EXPECT_EQ(listed, expected) << row.variant;
    }
}

} // namespace
