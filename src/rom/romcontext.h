// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#pragma once

#include "rom/romfilesystem.h"
#include "rom/romvariant.h"

#include <QString>

#include <optional>

// The run-wide state of the one ROM a run edits: set once at start-up, read afterwards.
struct RomContext {
    RomFileSystem& fs;
    QString romPath;                      // the file chosen at start-up; empty after Cancel
    std::optional<RomVariant> romVariant; // set by identifyROM; none: not a variant it knows
};
