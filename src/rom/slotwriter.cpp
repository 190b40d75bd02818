// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "rom/slotwriter.h"

#include "rom/detectrom.h"
#include "rom/readwritetext.h"

namespace slotwriter {
namespace {

Result failed(Failure failure, const IoResult& io) {
    return {failure, io.reason()};
}

Result failed(Failure failure) {
    return {failure, {}};
}

} // namespace

Result writeSlotTable(RomFileSystem& fs, const QString& path, const Expected& expected,
                      qint32 offset, const std::string& slotString) {
    IoResult opened;
    std::unique_ptr<RomFile> file = fs.openExisting(path, opened);
    if (!file)
        return failed(opened.inUse() ? Failure::InUse : Failure::OpenFailed, opened);
    // Held from before the checks until the close, so that no other writer, a second Lopwinder
    // included, can come between what is checked and what is written.
    if (const IoResult locked = file->lockExclusive(); !locked.ok())
        return failed(locked.inUse() ? Failure::InUse : Failure::LockFailed, locked);
    // Everything is compared through the file about to be written, so that nothing can be
    // swapped in between the look and the write.
    IoResult readFailure = IoResult::success();
    const auto read = [&](qint64 at, qint64 length) {
        std::string bytes;
        if (const IoResult result = readwritetext::readText(*file, at, length, bytes); !result.ok())
            readFailure = result;
        return bytes;
    };
    const std::optional<RomVariant> variant = detectROM::variantOf(path, read);
    const std::string table =
        expected.table ? read(offset, static_cast<qint64>(slotString.size())) : std::string();
    if (!readFailure.ok())
        return failed(Failure::ReadFailed, readFailure);
    if (variant != expected.variant)
        return failed(Failure::NotSameVariant);
    qint64 size = 0;
    if (const IoResult queried = file->size(size); !queried.ok())
        return failed(Failure::SizeUnknown, queried);
    const qint64 end = static_cast<qint64>(offset) + static_cast<qint64>(slotString.size());
    if (size < end) {
        // Extending it would invent bytes for a table the file does not hold.
        return failed(Failure::TooShort);
    }
    if (expected.table && table != *expected.table)
        return failed(Failure::TableChanged);

    if (const IoResult written = readwritetext::writeText(*file, offset, slotString); !written.ok())
        return failed(Failure::WriteFailed, written);
    qint64 sizeAfter = 0;
    if (const IoResult queried = file->size(sizeAfter); !queried.ok())
        return failed(Failure::SizeUnconfirmed, queried);
    if (sizeAfter != size) {
        // Cut short by someone else in between: the write has put a table into a damaged file.
        return failed(Failure::SizeChanged);
    }
    if (const IoResult flushed = file->flush(); !flushed.ok())
        return failed(Failure::FlushFailed, flushed);
    if (const IoResult closed = file->close(); !closed.ok())
        return failed(Failure::CloseFailed, closed);
    return {Failure::None, {}};
}

} // namespace slotwriter
