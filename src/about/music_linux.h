// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#pragma once

#include "about/music.h"

// The music on Linux: FluidSynth in a module of its own (modulePath), loaded by the first start.
// The device opens on a thread of its own: start() returns at once, and a piece asked to play
// counts as playing until the device has opened or failed to. Neither stop() nor destroying the
// music waits for a device still opening: it is closed once it has opened, and at the program's
// end such an opener gets at most 2 s.
struct FluidSynthOptions {
    QString modulePath;
    QString audioDriver; // empty: FluidSynth's default
    QString outputFile;  // for the "file" driver
};

std::unique_ptr<Music> createFluidSynthMusic(const FluidSynthOptions& options);

// The module the system's music loads: beside the program (a build tree) when it is there, else
// in the folder the program is installed to.
QString fluidSynthModulePath(const QString& programFolder);

// Openers still at work, which the program's end gives a moment to finish.
int runningOpeners();
