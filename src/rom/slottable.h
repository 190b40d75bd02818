// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#pragma once

#include "rom/romcontext.h"
#include "rom/varianttable.h"

#include <string>

// Reading a variant's slot table at start-up.
namespace slottable {

enum class Status {
    Read,      // bytes holds one track ID per slot
    Truncated, // the file ends before the table does: showing it would invent bytes
    Failed,    // the file is gone or could not be read
};

struct Table {
    Status status = Status::Failed;
    std::string bytes;
};

// Checks that the whole table lies inside rom.romPath's file, then reads it with one readText.
Table read(const RomContext& rom, const varianttable::VariantRow& row);

} // namespace slottable
