// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "about/mci_linux.h"
#include "support/fakes.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

// A format-0 MIDI file of one note lasting a second (192 ticks, 96 per 0.5 s beat).
std::string oneNoteMidi(const QTemporaryDir& dir) {
    QFile file(dir.filePath("a song.mid"));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("MThd\0\0\0\x06\0\0\0\x01\0\x60MTrk\0\0\0\x10\0\xc0\x50\0\x90\x45\x64"
                          "\x81\x40\x80\x45\0\0\xff\x2f\0",
                          38));
    return file.fileName().toStdString();
}

std::string send(Mci& mci, const std::string& command) {
    char reply[256] = "unchanged";
    const std::uint32_t error = mci.sendString(command, reply, 255);
    return error ? "error " + std::to_string(error) : reply;
}

// Sends command until it answers something else than now; the deadline only guards a hang.
std::string awaitChange(Mci& mci, const std::string& command, const std::string& now) {
    for (QDeadlineTimer guard(30000); send(mci, command) == now && !guard.hasExpired();)
        QThread::msleep(10);
    return send(mci, command);
}

// The piece sounds (in the file the "file" driver renders, in real time), "playing" from the play
// until it has sounded whole, then "stopped"; close frees the alias.
TEST(LinuxMci, PlaysThePieceOnceWhole) {
    QTemporaryDir dir;
    const QString wav = dir.filePath("out.wav");
    auto mci = createLinuxMci({LOPWINDER_TEST_MODULE, "file", wav});
    const std::string open = "open \"" + oneNoteMidi(dir) + "\" type sequencer alias midwhee";
    for (const auto& [command, answer] :
         {std::pair{open, ""},
          {open, "error 289"},
          {"open " + dir.path().toStdString() + " type sequencer alias x", "error 275"},
          {"status midwhee mode", "stopped"},
          {"play midwhee", ""},
          {"status midwhee mode", "playing"}})
        EXPECT_EQ(send(*mci, command), answer) << command;
    EXPECT_EQ(awaitChange(*mci, "status midwhee mode", "playing"), "stopped");
    EXPECT_EQ(send(*mci, "close midwhee"), "");
    EXPECT_EQ(send(*mci, "close midwhee"), "error 263");
    QFile file(wav);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray audio = file.readAll().mid(44); // 16-bit stereo at 44.1 kHz
    qsizetype first = -1, last = -1;                 // loud samples
    for (qsizetype i = 0; i + 1 < audio.size(); i += 2) {
        if (std::abs(int(qFromLittleEndian<qint16>(audio.data() + i))) > 1000)
            last = i, first = first < 0 ? i : first;
    }
    EXPECT_GT(last - first, 4 * 44100 * 9 / 10); // the second-long note sounded, not cut short
}

// A device that cannot play (a file that is not MIDI, no module) answers errors, never "playing".
TEST(LinuxMci, WhatCannotPlayAnswersErrors) {
    QTemporaryDir dir;
    const QString module = LOPWINDER_TEST_MODULE;
    for (const auto& [path, file] :
         {std::pair{module, module.toStdString()}, {dir.filePath("none.so"), oneNoteMidi(dir)}}) {
        auto mci = createLinuxMci({path, "file", dir.filePath("o.wav")});
        EXPECT_EQ(send(*mci, "open \"" + file + "\" type sequencer alias m"), "");
        EXPECT_EQ(awaitChange(*mci, "status m mode", "stopped"), "error 266") << file;
        EXPECT_EQ(send(*mci, "play m"), "error 266") << file;
    }
}

// Destroying the interpreter waits for no device still opening; its opener closes what it opened.
// (Closing one is the About box's test.)
TEST(LinuxMci, DestroyingItWaitsForNoOpening) {
    SlowModule slow(60000);
    QTemporaryDir dir;
    auto mci = createLinuxMci({LOPWINDER_SLOW_MODULE, {}, {}});
    EXPECT_EQ(send(*mci, "open \"" + oneNoteMidi(dir) + "\" type sequencer alias m"), "");
    EXPECT_EQ(send(*mci, "play m"), "");
    EXPECT_EQ(slow.await("1 0 0"), "1 0 0");
    mci.reset();
    EXPECT_EQ(slow.counts(), "1 0 0"); // still opening
    slow.setOpenMs(0);
    EXPECT_EQ(slow.await("0 1 1"), "0 1 1");
}

// At its end the program gives an opener still at work a moment to finish, so that none is cut off
// inside the synthesizer, but never waits on one that hangs.
TEST(LinuxMci, ExitWaitsForAnOpenerOnlyAMoment) {
    for (const auto& [openMs, atExit] : {std::pair{"300", "0 1 1"}, {"60000", "1 0 0"}}) {
        QProcess process;
        process.start(LOPWINDER_EXIT_WHILE_OPENING, {LOPWINDER_SLOW_MODULE, openMs});
        ASSERT_TRUE(process.waitForFinished(-1));
        EXPECT_EQ(process.exitCode(), 0);
        EXPECT_EQ(process.readAllStandardOutput().toStdString(),
                  std::string("leaving main\nat exit: ") + atExit + "\n");
    }
}

} // namespace
