// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#pragma once

#include "about/mci.h"

#include <QString>

// Our own MCI command interpreter for Linux. It takes the four commands the About box sends
// (open <file> type sequencer alias <a>, play <a>, status <a> mode, close <a>) and plays the file
// through the MIDI module at modulePath, loaded on the first open. The device opens in the
// background: open answers at once, and a failure to open it (no module, no audio device, not a
// MIDI file) shows in the play and status commands that follow. Neither close nor destroying the
// interpreter waits for a device still opening: it is closed once it has opened.
struct LinuxMciOptions {
    QString modulePath;
    QString audioDriver; // empty: FluidSynth's default
    QString outputFile;  // for the "file" driver
};

std::unique_ptr<Mci> createLinuxMci(const LinuxMciOptions& options);

// MCI error codes the interpreter answers with.
namespace mcierror {
inline constexpr std::uint32_t unrecognizedCommand = 261;
inline constexpr std::uint32_t invalidDeviceName = 263;
inline constexpr std::uint32_t outOfMemory = 264;
inline constexpr std::uint32_t cannotLoadDriver = 266;
inline constexpr std::uint32_t fileNotFound = 275;
inline constexpr std::uint32_t duplicateAlias = 289;
inline constexpr std::uint32_t invalidFile = 304;
} // namespace mcierror
