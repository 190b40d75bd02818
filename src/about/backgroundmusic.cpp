#include "about/backgroundmusic.h"

#include <array>
#include <cstring>

namespace backgroundmusic {

QString AppPath(const QString& programFolder, const QString& Filename, QChar separator) {
    if (programFolder.endsWith(separator))
        return programFolder + Filename;
    return programFolder + separator + Filename;
}

std::string openCommand(const QString& path) {
    QString quoted = path;
    if (quoted.contains(QLatin1Char(' ')))
        quoted = QLatin1Char('"') + quoted + QLatin1Char('"');
    // MCI takes text in the system code page.
    return "open " + quoted.toLocal8Bit().toStdString() + " type sequencer alias midwhee";
}

void start(Mci& mci, const QString& musicPath) {
    mci.mciSendString(openCommand(musicPath), nullptr, 0);
    mci.mciSendString("play midwhee", nullptr, 0);
}

void poll(Mci& mci) {
    std::array<char, 256> reply{}; // 255 characters and the NUL, new and empty at every poll
    mci.mciSendString("status midwhee mode", reply.data(), 255);
    if (std::strncmp(reply.data(), "playing", 7) != 0)
        mci.mciSendString("close midwhee", nullptr, 0);
}

void stop(Mci& mci) {
    mci.mciSendString("close midwhee", nullptr, 0);
}

} // namespace backgroundmusic
