// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
// The MIDI playback module: FluidSynth with a General MIDI sound font that Debian packages.
#include "about/midimodule.h"

#include <fluidsynth.h>

#include <memory>
#include <new>

namespace {

struct Song {
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    fluid_player_t* player = nullptr;
    fluid_audio_driver_t* driver = nullptr;
    bool started = false;

    ~Song() {
        // The driver first: it calls into the synth from its own thread until it is gone.
        if (driver)
            delete_fluid_audio_driver(driver);
        if (player)
            delete_fluid_player(player);
        if (synth)
            delete_fluid_synth(synth);
        if (settings)
            delete_fluid_settings(settings);
    }
};

void quiet(int, const char*, void*) {}

bool loadSoundFont(fluid_synth_t* synth) {
    // The small font first: it loads in a fraction of the time and memory of the large one, and
    // the piece needs no more.
    for (const char* path :
         {"/usr/share/sounds/sf2/TimGM6mb.sf2", "/usr/share/sounds/sf2/default-GM.sf2",
          "/usr/share/sounds/sf2/FluidR3_GM.sf2"}) {
        if (fluid_synth_sfload(synth, path, 1) != FLUID_FAILED)
            return true;
    }
    return false;
}

void* openSong(const char* path, const char* audioDriver, const char* outputFile) {
    for (const int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
        fluid_set_log_function(level, quiet, nullptr);
    if (path == nullptr || !fluid_is_midifile(path))
        return nullptr;

    auto song = std::unique_ptr<Song>(new (std::nothrow) Song);
    if (!song || !(song->settings = new_fluid_settings()))
        return nullptr;
    // Only the samples the piece plays are read from the font, when it first plays them.
    fluid_settings_setint(song->settings, "synth.dynamic-sample-loading", 1);
    if (audioDriver)
        fluid_settings_setstr(song->settings, "audio.driver", audioDriver);
    if (outputFile)
        fluid_settings_setstr(song->settings, "audio.file.name", outputFile);
    // The audio device decides first: without one, no font is ever loaded.
    if (!(song->synth = new_fluid_synth(song->settings)) ||
        !(song->driver = new_fluid_audio_driver(song->settings, song->synth)) ||
        !loadSoundFont(song->synth))
        return nullptr;
    if (!(song->player = new_fluid_player(song->synth)) ||
        fluid_player_add(song->player, path) != FLUID_OK)
        return nullptr;
    return song.release();
}

int playSong(void* handle) {
    auto* song = static_cast<Song*>(handle);
    if (fluid_player_play(song->player) != FLUID_OK)
        return 1;
    song->started = true;
    return 0;
}

int songPlaying(void* handle) {
    auto* song = static_cast<Song*>(handle);
    if (!song->started)
        return 0;
    // The player reports PLAYING for seconds after the last note; the song's own ticks and the
    // voices still sounding tell the real end.
    // The player loads the file on its first tick, so until then it reports no ticks at all.
    const int total = fluid_player_get_total_ticks(song->player);
    const bool ticksLeft = fluid_player_get_status(song->player) == FLUID_PLAYER_PLAYING &&
                           (total == 0 || fluid_player_get_current_tick(song->player) < total);
    return ticksLeft || fluid_synth_get_active_voice_count(song->synth) > 0 ? 1 : 0;
}

void closeSong(void* handle) {
    delete static_cast<Song*>(handle);
}

constexpr LopwinderMidiApi api{midiApiVersion, openSong, playSong, songPlaying, closeSong};

} // namespace

extern "C" __attribute__((visibility("default"))) const LopwinderMidiApi* lopwinder_midi_api() {
    return &api;
}
