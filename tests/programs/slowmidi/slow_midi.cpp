// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
// A stand-in for the MIDI module, for the tests and the benchmarks: its open takes as long as it is
// told, or until the time is set to 0, and it counts the opens under way, the opens done and the
// closes. Its state is plain atomics, which nothing has to tear down: a process may end while an
// open is still waiting here, as with a real audio device that hangs.
#include "about/midimodule.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

namespace {

std::atomic<int> openMs{0};
std::atomic<int> opening{0}, opened{0}, closed{0};

void* open(const char*, const char*, const char*) {
    ++opening;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(openMs);
    while (openMs != 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    ++opened, --opening;
    return std::make_unique<char>().release();
}

constexpr LopwinderMidiApi api{
    midiApiVersion, open, [](void*) { return 0; }, [](void*) { return 1; },
    [](void* song) { std::unique_ptr<char>(static_cast<char*>(song)), ++closed; }};

} // namespace

extern "C" __attribute__((visibility("default"))) const LopwinderMidiApi* lopwinder_midi_api() {
    return &api;
}

extern "C" __attribute__((visibility("default"))) void standin_set_open_ms(int ms) {
    openMs = ms;
}

// "opening opened closed"
extern "C" __attribute__((visibility("default"))) void standin_counts(int counts[3]) {
    counts[0] = opening, counts[1] = opened, counts[2] = closed;
}
