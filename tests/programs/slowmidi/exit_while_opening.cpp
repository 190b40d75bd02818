// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
// exit-while-opening MODULE OPEN_MS: starts the Linux music with the stand-in module, whose device
// takes OPEN_MS to open, and leaves main (the music destroyed) while it is still opening. It prints
// "leaving main" then, and the stand-in's counts ("opening opened closed") and the openers the
// music still counts as the very last thing the process does, after the music's own wait at exit:
// so a test sees from the counts whether exit waited for the opener, and a benchmark can time the
// exit.
#include "about/music_linux.h"

#include <QLibrary>

#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

using CountsFunction = void (*)(int*);
CountsFunction counts = nullptr;

void printCounts() {
    int c[3];
    counts(c);
    std::printf("at exit: %d %d %d, %d running\n", c[0], c[1], c[2], runningOpeners());
    std::fflush(stdout);
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: exit-while-opening MODULE OPEN_MS\n");
        return 2;
    }
    QLibrary module(QString::fromLocal8Bit(argv[1]));
    counts = reinterpret_cast<CountsFunction>(module.resolve("standin_counts"));
    const auto setOpenMs = reinterpret_cast<void (*)(int)>(module.resolve("standin_set_open_ms"));
    if (counts == nullptr || setOpenMs == nullptr)
        return 2;
    // Registered before the music registers its own wait, so it runs after that wait.
    std::atexit(printCounts);
    setOpenMs(std::atoi(argv[2]));
    {
        const auto music = createFluidSynthMusic({module.fileName(), {}, {}});
        music->start(QString::fromLocal8Bit(argv[0])); // any existing file: the stand-in reads none
        int c[3] = {};
        while (counts(c), c[0] + c[1] == 0)
            std::this_thread::yield();
    }
    std::printf("leaving main\n");
    std::fflush(stdout);
    return 0;
}
