#include "about/mci_linux.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>

namespace {

// One note of `seconds` on a square lead, as a format-0 MIDI file (96 ticks per 0.5 s beat).
std::string oneNoteMidi(double seconds) {
    const int ticks = static_cast<int>(seconds * 192);
    std::string track = {'\x00', '\xc0', '\x50', '\x00', '\x90', '\x45', '\x64'};
    track += static_cast<char>(0x80 | (ticks >> 7));
    track += static_cast<char>(ticks & 0x7f);
    track += std::string("\x80\x45\x00\x00\xff\x2f\x00", 7);
    std::string file("MThd\x00\x00\x00\x06\x00\x00\x00\x01\x00\x60", 14);
    file += "MTrk";
    const auto size = static_cast<unsigned>(track.size());
    file += {static_cast<char>(size >> 24), static_cast<char>(size >> 16),
             static_cast<char>(size >> 8), static_cast<char>(size)};
    return file + track;
}

QString writeFile(const QTemporaryDir& dir, const QString& name, const std::string& bytes) {
    const QString path = dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    return path;
}

std::string status(Mci& mci) {
    std::array<char, 256> reply{};
    mci.sendString("status midwhee mode", reply.data(), 255);
    return reply.data();
}

class LinuxMciTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString output = dir.filePath("out.wav");
    std::unique_ptr<Mci> mci =
        createLinuxMci({QStringLiteral(LOPWINDER_TEST_MODULE), "file", output});
};

TEST_F(LinuxMciTest, PlaysAudiblyAndStopsSayingPlayingAtTheEnd) {
    const QString song = writeFile(dir, "a song.mid", oneNoteMidi(1.0));
    ASSERT_EQ(mci->sendString("open \"" + song.toStdString() + "\" type sequencer alias midwhee",
                              nullptr, 0),
              0u);
    EXPECT_EQ(status(*mci), "stopped");
    ASSERT_EQ(mci->sendString("play midwhee", nullptr, 0), 0u);

    QElapsedTimer clock;
    clock.start();
    while (status(*mci) == "playing" && clock.elapsed() < 10000)
        QThread::msleep(20);
    const qint64 ended = clock.elapsed();
    // The note lasts a second and its release fades within a few hundred milliseconds (about
    // 1.3 s in all, measured here). FluidSynth's own player status would say "playing" until
    // about 4 s; the bound leaves room for a loaded machine and still tells the two apart.
    EXPECT_GE(ended, 900);
    EXPECT_LE(ended, 3500);
    EXPECT_EQ(mci->sendString("close midwhee", nullptr, 0), 0u);
    EXPECT_EQ(mci->sendString("close midwhee", nullptr, 0), mcierror::invalidDeviceName);

    QFile wav(output);
    ASSERT_TRUE(wav.open(QIODevice::ReadOnly));
    const QByteArray audio = wav.readAll().mid(44);
    ASSERT_GT(audio.size(), 44100);
    int loudest = 0;
    for (qsizetype i = 0; i + 1 < audio.size(); i += 2) {
        const auto sample = static_cast<qint16>(static_cast<quint8>(audio[i]) |
                                                (static_cast<quint8>(audio[i + 1]) << 8));
        loudest = std::max(loudest, std::abs(static_cast<int>(sample)));
    }
    EXPECT_GT(loudest, 1000);
}

TEST_F(LinuxMciTest, CloseStopsAtOnceAndAReopenStartsAgain) {
    const QString song = writeFile(dir, "s.mid", oneNoteMidi(5.0));
    const std::string open = "open " + song.toStdString() + " type sequencer alias midwhee";
    for (int round = 0; round < 2; ++round) {
        ASSERT_EQ(mci->sendString(open, nullptr, 0), 0u);
        ASSERT_EQ(mci->sendString("play midwhee", nullptr, 0), 0u);
        QThread::msleep(150);
        EXPECT_EQ(status(*mci), "playing");
        EXPECT_EQ(mci->sendString(open, nullptr, 0), mcierror::duplicateAlias);
        EXPECT_EQ(mci->sendString("close midwhee", nullptr, 0), 0u);
        EXPECT_EQ(status(*mci), "");
    }
}

// A file that is no MIDI, or no module to play with: open answers at once, and once the device
// has given up in the background, status and play answer errors and never "playing" again.
TEST(LinuxMci, WhatCannotPlayFailsWithoutHoldingUpTheCaller) {
    QTemporaryDir dir;
    const std::string song = writeFile(dir, "s.mid", oneNoteMidi(1.0)).toStdString();
    const std::string notMidi = writeFile(dir, "n.dat", "RIFF this is no MIDI").toStdString();
    const QString module = QStringLiteral(LOPWINDER_TEST_MODULE);
    struct Row {
        QString module;
        std::string path;
        std::uint32_t openAnswer;
    };
    for (const Row& row :
         {Row{module, notMidi, 0u}, Row{dir.filePath("no-such-module.so"), song, 0u},
          Row{module, dir.filePath("missing.dat").toStdString(), mcierror::fileNotFound},
          Row{module, dir.path().toStdString(), mcierror::fileNotFound}}) {
        auto mci = createLinuxMci({row.module, "file", dir.filePath("out.wav")});
        EXPECT_EQ(mci->sendString("open " + row.path + " type sequencer alias midwhee", nullptr, 0),
                  row.openAnswer);
        QElapsedTimer clock;
        clock.start();
        while (status(*mci) == "stopped" && clock.elapsed() < 5000)
            QThread::msleep(10);
        EXPECT_EQ(status(*mci), "") << row.path;
        EXPECT_NE(mci->sendString("play midwhee", nullptr, 0), 0u);
        EXPECT_EQ(status(*mci), "");
        EXPECT_EQ(mci->sendString("close midwhee", nullptr, 0) == 0, row.openAnswer == 0);
    }
}

TEST(LinuxMci, UnknownCommandsAreRefused) {
    auto mci = createLinuxMci({QStringLiteral(LOPWINDER_TEST_MODULE), {}, {}});
    for (const std::string command : {"", "seek midwhee to start", "status midwhee", "play",
                                      "open x.mid type waveaudio alias midwhee"})
        EXPECT_NE(mci->sendString(command, nullptr, 0), 0u) << command;
}

} // namespace
