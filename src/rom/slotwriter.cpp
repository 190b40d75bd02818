// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "rom/slotwriter.h"

#include "rom/detectrom.h"
#include "rom/readwritetext.h"

namespace slotwriter {
namespace {

Result notWritten(Failure failure, const IoResult& io = {}) {
    return {Outcome::NotWritten, failure, io.reason};
}

const Result inUse{Outcome::InUse, Failure::InUse, {}};

} // namespace

Result writeSlotTable(RomFileSystem& fs, const QString& path, const Expected& expected,
                      qint32 offset, const std::string& slotString) {
    IoResult opened;
    std::unique_ptr<RomFile> file = fs.openExisting(path, opened);
    if (!file && opened.inUse)
        return inUse;
    if (!file) {
        return notWritten(Failure::OpenFailed, opened);
    }
    // Held from before the checks until the close, so that no other writer, a second Lopwinder
    // included, can come between what is checked and what is written.
    if (const IoResult locked = file->lockExclusive(); !locked.ok()) {
        if (locked.inUse)
            return inUse;
        return notWritten(Failure::LockFailed, locked);
    }
    // Everything is compared through the file about to be written, so that nothing can be
    // swapped in between the look and the write.
    IoResult readFailure;
    const auto read = [&](qint64 at, qint64 length) {
        std::string bytes;
        if (const IoResult result = file->readAt(at, length, bytes); !result.ok()) {
            readFailure = result;
            return std::string();
        }
        bytes.resize(static_cast<std::size_t>(length), '\0');
        return bytes;
    };
    const std::optional<RomVariant> variant = detectROM::variantOf(path, read);
    const std::string table =
        expected.table ? read(offset, static_cast<qint64>(slotString.size())) : std::string();
    if (!readFailure.ok()) {
        return notWritten(Failure::ReadFailed, readFailure);
    }
    if (variant != expected.variant) {
        return notWritten(Failure::NotSameVariant);
    }
    const qint64 size = file->status().size;
    const qint64 end = static_cast<qint64>(offset) + static_cast<qint64>(slotString.size());
    if (size < end) {
        // Extending it would invent bytes for a table the file does not hold.
        return notWritten(Failure::TooShort);
    }
    if (expected.table && table != *expected.table) {
        return notWritten(Failure::TableChanged);
    }

    if (const IoResult written = readwritetext::writeText(*file, offset, slotString); !written.ok())
        return {Outcome::PartlyWritten, Failure::WriteFailed, written.reason};
    if (file->status().size != size) {
        // Cut short by someone else in between: the write has put a table into a damaged file.
        return {Outcome::PartlyWritten, Failure::SizeChanged, {}};
    }
    if (const IoResult flushed = file->flush(); !flushed.ok()) {
        return {Outcome::Unconfirmed, Failure::FlushFailed, flushed.reason};
    }
    if (const IoResult closed = file->close(); !closed.ok()) {
        return {Outcome::Unconfirmed, Failure::CloseFailed, closed.reason};
    }
    return {};
}

} // namespace slotwriter
