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

// What went wrong, in the order the steps are taken.
enum class Failure {
    None,
    InUse,           // another program holds the file: a lease, a share mode or a lock
    OpenFailed,      // detail: the system's words
    LockFailed,      // detail: the system's words
    ReadFailed,      // detail: the system's words
    NotSameVariant,  // the file no longer identifies as the variant loaded
    SizeUnknown,     // detail: the system's words; the file's size could not be read
    TooShort,        // the file ends before the table does; it was not extended
    TableChanged,    // the table is not the one last read or written
    WriteFailed,     // detail: the system's words
    SizeChanged,     // another program changed the size while the table was written
    SizeUnconfirmed, // detail: the system's words; the size could not be read after the write
    FlushFailed,     // detail: the system's words
    CloseFailed,     // detail: the system's words
};

// What the file holds after a failure, which follows from the step that failed.
enum class Outcome {
    Written,       // on disk: written, flushed and closed
    NotWritten,    // refused or failed before any byte was written; the file is as it was
    InUse,         // another program holds the file; nothing was written, a retry may succeed
    PartlyWritten, // the write failed midway; the slot table may hold some of the new bytes
    Unconfirmed,   // all bytes were handed over, but the file could not confirm them
};

constexpr Outcome outcomeOf(Failure failure) {
    switch (failure) {
    case Failure::None:
        return Outcome::Written;
    case Failure::InUse:
        return Outcome::InUse;
    case Failure::OpenFailed:
    case Failure::LockFailed:
    case Failure::ReadFailed:
    case Failure::NotSameVariant:
    case Failure::SizeUnknown:
    case Failure::TooShort:
    case Failure::TableChanged:
        return Outcome::NotWritten;
    case Failure::WriteFailed:
    case Failure::SizeChanged:
        return Outcome::PartlyWritten;
    case Failure::SizeUnconfirmed:
    case Failure::FlushFailed:
    case Failure::CloseFailed:
        return Outcome::Unconfirmed;
    }
    return Outcome::NotWritten;
}

struct Result {
    Failure failure; // None only where the whole table was written
    QString detail;  // the system's own words, for the failures that have them
    Outcome outcome() const { return outcomeOf(failure); }
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
// size, flushes it to the device and closes it. The first step that fails ends it.
Result writeSlotTable(RomFileSystem& fs, const QString& path, const Expected& expected,
                      qint32 offset, const std::string& slotString);

} // namespace slotwriter
