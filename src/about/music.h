// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#pragma once

#include <QString>

#include <memory>

// The About box's music: one MIDI file, played once. Nothing is ever reported: without an audio
// device, the player or the file, nothing sounds and isPlaying() is false.
class Music {
public:
    virtual ~Music() = default;
    // Plays file from its start, stopping whatever played before; returns at once.
    virtual void start(const QString& file) = 0;
    // True exactly while the piece sounds (and while it is still being readied to).
    virtual bool isPlaying() = 0;
    // Stops the sound at once and lets the device go; harmless when nothing plays.
    virtual void stop() = 0;
};

// The system's music: the MCI sequencer on Windows, FluidSynth on Linux.
std::unique_ptr<Music> createSystemMusic();
