// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#pragma once

#include "about/mci.h"

#include <QString>

// The About box's music: the MIDI file in the program folder, played once while the box is open.
// Every return code is ignored: a box without music works just the same, silently.
namespace backgroundmusic {

inline constexpr const char* fileName = "supplimentary.dat";

// programFolder joined with Filename; no second separator after a folder that ends in one (the
// root of a drive).
QString AppPath(const QString& programFolder, const QString& Filename, QChar separator);

// "open <path> type sequencer alias midwhee", the path in double quotes if it holds a blank.
std::string openCommand(const QString& path);

void start(Mci& mci, const QString& musicPath); // open, then play
void poll(Mci& mci);                            // close unless the reply begins "playing"
void stop(Mci& mci);                            // close

} // namespace backgroundmusic
