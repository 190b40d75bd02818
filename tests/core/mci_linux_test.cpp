#include "about/mci_linux.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// A format-0 MIDI file of one note lasting `seconds` (96 ticks per 0.5 s beat), at dir/name.
std::string oneNoteMidi(const QTemporaryDir& dir, const char* name, double seconds) {
    const int ticks = static_cast<int>(seconds * 192);
    std::string track("\x00\xc0\x50\x00\x90\x45\x64", 7);
    track += {static_cast<char>(0x80 | (ticks >> 7)), static_cast<char>(ticks & 0x7f)};
    track += std::string("\x80\x45\x00\x00\xff\x2f\x00", 7);
    QFile file(dir.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("MThd\0\0\0\x06\0\0\0\x01\0\x60MTrk\0\0\0", 21) + char(track.size()) +
               QByteArray::fromStdString(track));
    return file.fileName().toStdString();
}

std::string send(Mci& mci, const std::string& command) {
    char reply[256] = "unchanged";
    const std::uint32_t error = mci.sendString(command, reply, 255);
    return error ? "error " + std::to_string(error) : reply;
}

TEST(LinuxMci, PlaysAudiblySaysPlayingUntilTheEndAndStopsOnClose) {
    QTemporaryDir dir;
    const QString wav = dir.filePath("out.wav");
    auto mci = createLinuxMci({LOPWINDER_TEST_MODULE, "file", wav});
    const std::string open =
        "open \"" + oneNoteMidi(dir, "a song.mid", 1.0) + "\" type sequencer alias midwhee";
    EXPECT_EQ(send(*mci, open), "");
    EXPECT_EQ(send(*mci, open), "error 289"); // the alias is taken
    EXPECT_EQ(send(*mci, "status midwhee mode"), "stopped");
    EXPECT_EQ(send(*mci, "play midwhee"), "");
    QElapsedTimer clock;
    clock.start();
    while (send(*mci, "status midwhee mode") == "playing" && clock.elapsed() < 10000)
        QThread::msleep(20);
    // The note and its release take about 1.3 s; FluidSynth's own player would say "playing"
    // until about 4 s. The bounds leave room for a loaded machine and still tell them apart.
    EXPECT_GE(clock.elapsed(), 900);
    EXPECT_LE(clock.elapsed(), 3500);
    EXPECT_EQ(send(*mci, "close midwhee"), "");
    EXPECT_EQ(send(*mci, "close midwhee"), "error 263");
    QFile file(wav);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray audio = file.readAll().mid(44);
    int loudest = 0;
    for (qsizetype i = 0; i + 1 < audio.size(); i += 2)
        loudest =
            std::max(loudest, std::abs(int(qint16(quint8(audio[i]) | quint8(audio[i + 1]) << 8))));
    EXPECT_GT(loudest, 1000);
}

} // namespace
