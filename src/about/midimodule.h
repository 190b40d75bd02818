// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#pragma once

// The plain C interface of the MIDI playback module, which the Linux music loads only
// when a device is first opened, so start-up never pays for the synthesizer.
extern "C" {

struct LopwinderMidiApi {
    int version; // midiApiVersion
    // Prepares path for playback, or returns null when it is not MIDI, has no sound font to play
    // with, or no audio output can be had. audioDriver and outputFile may be null (the defaults);
    // outputFile names the file of the "file" driver.
    void* (*open)(const char* path, const char* audioDriver, const char* outputFile);
    int (*play)(void* song);    // 0 on success
    int (*playing)(void* song); // 1 exactly while the piece sounds
    void (*close)(void* song);  // stops the sound at once and frees everything
};

typedef const LopwinderMidiApi* (*LopwinderMidiApiFunction)();
}

inline constexpr int midiApiVersion = 1;
inline constexpr const char* midiApiSymbol = "lopwinder_midi_api";
