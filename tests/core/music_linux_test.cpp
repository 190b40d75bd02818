// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "about/music_linux.h"
#include "about/sysinfotool.h"
#include "support/fakes.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QtEndian>
#include <algorithm>
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

// Waits while the music says it plays; the deadline only guards a hang.
void awaitEnd(Music& music) {
    for (QDeadlineTimer guard(30000); music.isPlaying() && !guard.hasExpired();)
        QThread::msleep(10);
}

// The piece sounds (in the file the "file" driver renders, in real time) once and whole: the music
// says it plays from the start until the second-long note has been rendered, and then no more.
TEST(LinuxMusic, PlaysThePieceOnceWhole) {
    QTemporaryDir dir;
    const QString wav = dir.filePath("out.wav");
    const auto music = createFluidSynthMusic({LOPWINDER_TEST_MODULE, "file", wav});
    EXPECT_FALSE(music->isPlaying());
    music->start(QString::fromStdString(oneNoteMidi(dir)));
    EXPECT_TRUE(music->isPlaying()); // opening still, or sounding
    awaitEnd(*music);
    EXPECT_FALSE(music->isPlaying());
    music->stop();
    music->stop(); // harmless
    QFile file(wav);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray wave = file.readAll();
    const QByteArray audio = wave.mid(wave.indexOf("data") + 8); // 16-bit stereo at 44.1 kHz
    int peak = 0;
    for (qsizetype i = 0; i + 1 < audio.size(); i += 2)
        peak = std::max(peak, std::abs(int(qFromLittleEndian<qint16>(audio.data() + i))));
    EXPECT_GT(peak, 500);
    EXPECT_GE(audio.size() / 4, 44100) << "frames: less than the note";
}

// The system's music loads the module beside the program (in a build tree), else the installed one.
TEST(LinuxMusic, FindsItsModuleBesideTheProgramOrInstalled) {
    QTemporaryDir dir;
    EXPECT_EQ(fluidSynthModulePath(dir.path()), LOPWINDER_INSTALLED_MODULE);
    const QString beside = dir.filePath(QFileInfo(LOPWINDER_TEST_MODULE).fileName());
    ASSERT_TRUE(QFile::copy(LOPWINDER_TEST_MODULE, beside));
    EXPECT_EQ(fluidSynthModulePath(dir.path()), beside);
}

// What cannot play (a file that is not MIDI, a folder, no module) never says it plays.
TEST(LinuxMusic, WhatCannotPlayIsSilent) {
    QTemporaryDir dir;
    const QString module = LOPWINDER_TEST_MODULE;
    struct Row {
        const char* name;
        QString modulePath, file;
    };
    const Row rows[] = {
        {"a file that is not MIDI", module, module},
        {"a folder", module, dir.path()},
        {"no module", dir.filePath("none.so"), QString::fromStdString(oneNoteMidi(dir))}};
    for (const auto& [name, path, file] : rows) {
        const auto music = createFluidSynthMusic({path, "file", dir.filePath("o.wav")});
        music->start(file);
        awaitEnd(*music);
        EXPECT_FALSE(music->isPlaying()) << name;
    }
}

// The first system information program on PATH is started; with none, the tool is unavailable.
TEST(LinuxSystemInfo, StartsTheFirstToolOnPath) {
    QTemporaryDir dir;
    const QString started = dir.filePath("started");
    QFile tool(dir.filePath("kinfocenter"));
    ASSERT_TRUE(tool.open(QIODevice::WriteOnly));
    tool.write(("#!/bin/sh\n/usr/bin/touch '" + started + "'\n").toUtf8());
    tool.close();
    tool.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    const QByteArray path = qgetenv("PATH");
    for (const QString& folder : {dir.filePath("empty"), dir.path()}) {
        qputenv("PATH", folder.toUtf8());
        EXPECT_EQ(createSystemInfoTool()->start(), folder == dir.path());
    }
    qputenv("PATH", path);
    for (QDeadlineTimer guard(10000); !QFile::exists(started) && !guard.hasExpired();)
        QThread::msleep(10);
    EXPECT_TRUE(QFile::exists(started));
}

// Destroying the music never waits for a device still opening, and its opener closes what it
// opened; at its end the program gives such an opener a moment to finish, so that none is cut off
// inside the synthesizer, but never waits on one that hangs. (The About box stops it on closing.)
TEST(LinuxMusic, ExitWaitsForAnOpenerOnlyAMoment) {
    struct Row {
        const char* name;
        const char* openMs;
        const char* atExit;
    };
    const Row rows[] = {{"opens in a moment", "300", "0 1 1, 0 running"},
                        {"hangs", "60000", "1 0 0, 1 running"}};
    for (const auto& [name, openMs, atExit] : rows) {
        SCOPED_TRACE(name);
        QProcess process;
        process.start(LOPWINDER_EXIT_WHILE_OPENING, {LOPWINDER_SLOW_MODULE, openMs});
        ASSERT_TRUE(process.waitForFinished(-1));
        EXPECT_EQ(process.exitCode(), 0);
        EXPECT_EQ(process.readAllStandardOutput().toStdString(),
                  std::string("leaving main\nat exit: ") + atExit + "\n");
    }
}

} // namespace
