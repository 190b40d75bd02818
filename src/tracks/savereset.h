// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#pragma once

#include "app/prompter.h"
#include "rom/romfilesystem.h"
#include "rom/varianttable.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <string>

// The two writing commands, without their buttons: Save writes the chosen tracks, Reset the
// factory order. Each returns the one message to show.
namespace savereset {

// The ROM this run edits, as far as Save and Reset need it.
struct LoadedRom {
    QString path;
    const varianttable::VariantRow* row = nullptr; // the variant identified at start-up
    // The slot table as this run last read or wrote it; nullopt after a write that may have left
    // only part of it, when the next Save accepts whatever the file holds.
    std::optional<std::string> table;
};

struct Feedback {
    Message message;
    bool written = false; // the whole table reached the disk
};

// How the window labels level slot number slot (from 1), and how the messages name it.
QString slotName(int slot);

// currentTexts: the slot lists' current texts, slot 1 first, one per slot of the variant.
Feedback save(RomFileSystem& fs, LoadedRom& rom, const QStringList& currentTexts);

// Writes the factory order whatever the table holds, once the file is still the variant loaded.
Feedback reset(RomFileSystem& fs, LoadedRom& rom);

} // namespace savereset
