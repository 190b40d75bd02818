// SPDX-License-Identifier: GPL-3.0-or-later
// A stand-in for the MIDI module, for the tests and the benchmarks: its open takes as long as it is
// told, or until the time is set to 0, and it counts the opens under way, the opens done and the
// closes.
#include "about/midimodule.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

namespace {

std::mutex mutex;
std::condition_variable changed;
int openMs = 0;
std::atomic<int> opening, opened, closed;

void* open(const char*, const char*, const char*) {
    ++opening;
    std::unique_lock lock(mutex);
    changed.wait_for(lock, std::chrono::milliseconds(openMs), [] { return openMs == 0; });
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
    const std::lock_guard lock(mutex);
    openMs = ms;
    changed.notify_all();
}

// "opening opened closed"
extern "C" __attribute__((visibility("default"))) void standin_counts(int counts[3]) {
    counts[0] = opening, counts[1] = opened, counts[2] = closed;
}
