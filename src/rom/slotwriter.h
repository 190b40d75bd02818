// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#pragma once

#include "rom/romfilesystem.h"
#include "rom/romvariant.h"

#include <QString>
#include <QtGlobal>

#include <optional>
#include <string>

// Writes a whole slot table into the ROM in place, for Save and Reset alike.
namespace slotwriter {

enum class Outcome {
    Written,       // on disk: written, flushed and closed
    NotWritten,    // refused or failed before any byte was written; the file is as it was
    InUse,         // another program holds the file; nothing was written, a retry may succeed
    PartlyWritten, // the write failed midway; the slot table may hold some of the new bytes
    Unconfirmed,   // all bytes were handed over, but the flush or close failed
};

// What went wrong, in the order the steps are taken.
enum class Failure {
    None,
    InUse,          // another program holds the file: a lease, a share mode or a lock
    OpenFailed,     // detail: the system's words
    LockFailed,     // detail: the system's words
    ReadFailed,     // detail: the system's words
    NotSameVariant, // the file no longer identifies as the variant loaded
    TooShort,       // the file ends before the table does; it was not extended
    TableChanged,   // the table is not the one last read or written
    WriteFailed,    // detail: the system's words
    SizeChanged,    // another program changed the size while the table was written
    FlushFailed,    // detail: the system's words
    CloseFailed,    // detail: the system's words
};

struct Result {
    Outcome outcome = Outcome::Written;
    Failure failure = Failure::None;
    QString detail; // the system's own words, for the failures that have them
};

// What the file must still hold before anything is written into it.
struct Expected {
    RomVariant variant;               // the variant identified at start-up
    std::optional<std::string> table; // the slot table as last read or written; nullopt: any
};

// Opens the existing plain file at path (never creating or truncating it), locks it against other
// writers until it is closed again, and through that open file checks that it still identifies as
// expected.variant, is long enough for the table and, when expected.table is set, still holds that
// table. Only then writes slotString at offset with one writeText, checks that the file kept its
// size, flushes it to the device and closes it.
Result writeSlotTable(RomFileSystem& fs, const QString& path, const Expected& expected,
                      qint32 offset, const std::string& slotString);

} // namespace slotwriter
