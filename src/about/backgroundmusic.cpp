// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
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
    mci.sendString(openCommand(musicPath), nullptr, 0);
    mci.sendString("play midwhee", nullptr, 0);
}

void poll(Mci& mci) {
    std::array<char, 256> reply{}; // 255 characters and the NUL, new and empty at every poll
    mci.sendString("status midwhee mode", reply.data(), 255);
    if (std::strncmp(reply.data(), "playing", 7) != 0)
        mci.sendString("close midwhee", nullptr, 0);
}

void stop(Mci& mci) {
    mci.sendString("close midwhee", nullptr, 0);
}

} // namespace backgroundmusic
