// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#pragma once

#include "app/prompter.h"
#include "rom/romfilesystem.h"
#include "tracks/savereset.h"

#include <QString>

#include <vector>

// Start-up without its window: what the chosen file gives to edit, or which messages refuse it.
namespace startup {

// The Open dialog that asks for the ROM. The filter's name gives only "*.bin" though it takes
// "*.gen" too. Kept on purpose: see HACKING.md, "Behaviour kept on purpose".
OpenFileRequest romRequest();

struct Outcome {
    std::vector<Message> messages; // shown in turn, before anything else
    QString windowTitle;           // set once the variant is known
    // Set when the file can be edited: its row, path and slot table. Otherwise the program ends
    // once the messages are shown.
    savereset::LoadedRom rom;
    // One per level slot, slot 1 first: the entry of the catalogue's labels that the slot's list
    // starts on; -1 where the table's ID has none.
    std::vector<int> selected;

    bool editing() const { return rom.row != nullptr; }
};

// Identifies the file at path (empty: the dialog was cancelled) and reads its slot table.
Outcome open(RomFileSystem& fs, const QString& path);

} // namespace startup
