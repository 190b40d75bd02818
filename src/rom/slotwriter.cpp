// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "rom/slotwriter.h"

#include "rom/detectrom.h"
#include "rom/readwritetext.h"

namespace slotwriter {
namespace {

Result notWritten(const QString& reason, const QString& advice = {}) {
    return {Outcome::NotWritten, reason, advice};
}

const Result inUse{Outcome::InUse, QStringLiteral("Another program is using the ROM file."), {}};

} // namespace

Result writeSlotTable(RomFileSystem& fs, const QString& path, const Expected& expected,
                      qint32 offset, const std::string& slotString) {
    IoResult opened;
    std::unique_ptr<RomFile> file = fs.openExisting(path, opened);
    if (!file && opened.inUse)
        return inUse;
    if (!file) {
        return notWritten(
            QStringLiteral("The ROM file could not be opened for writing: %1").arg(opened.reason));
    }
    // Held from before the checks until the close, so that no other writer, a second Lopwinder
    // included, can come between what is checked and what is written.
    if (const IoResult locked = file->lockExclusive(); !locked.ok()) {
        if (locked.inUse)
            return inUse;
        return notWritten(
            QStringLiteral("The ROM file could not be locked: %1").arg(locked.reason));
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
        return notWritten(
            QStringLiteral("The ROM file could not be read: %1").arg(readFailure.reason));
    }
    if (variant != expected.variant) {
        return notWritten(QStringLiteral("The file is no longer the ROM that was loaded: it is not "
                                         "a \"%1\" image any more.")
                              .arg(QLatin1String(displayName(expected.variant))),
                          QStringLiteral("To edit the file as it is now, close Lopwinder and open "
                                         "it again."));
    }
    const qint64 size = file->status().size;
    const qint64 end = static_cast<qint64>(offset) + static_cast<qint64>(slotString.size());
    if (size < end) {
        // Extending it would invent bytes for a table the file does not hold.
        return notWritten(QStringLiteral("The ROM file has become too short to hold its track "
                                         "table; it was not extended."),
                          QStringLiteral("Restore the file from a copy."));
    }
    if (expected.table && table != *expected.table) {
        return notWritten(QStringLiteral("Another program changed the track table in the ROM file "
                                         "since Lopwinder loaded it."),
                          QStringLiteral("Close Lopwinder and open the file again to see the "
                                         "current tracks."));
    }

    if (const IoResult written = readwritetext::writeText(*file, offset, slotString); !written.ok())
        return {
            Outcome::PartlyWritten, QStringLiteral("Writing failed: %1").arg(written.reason), {}};
    if (file->status().size != size) {
        // Cut short by someone else in between: the write has put a table into a damaged file.
        return {Outcome::PartlyWritten,
                QStringLiteral("Another program changed the ROM file's size while it was being "
                               "written."),
                QStringLiteral("Restore the file from a copy.")};
    }
    if (const IoResult flushed = file->flush(); !flushed.ok()) {
        return {Outcome::Unconfirmed,
                QStringLiteral("The data could not be flushed to the disk: %1").arg(flushed.reason),
                {}};
    }
    if (const IoResult closed = file->close(); !closed.ok()) {
        return {Outcome::Unconfirmed,
                QStringLiteral("The file could not be closed: %1").arg(closed.reason),
                {}};
    }
    return {};
}

QString failureText(Action action, const Result& result) {
    const bool save = action == Action::Save;
    QString headline;
    switch (result.outcome) {
    case Outcome::Written:
        return {};
    case Outcome::NotWritten:
    case Outcome::InUse:
        headline = save ? QStringLiteral("Nothing was saved; the ROM file is unchanged.")
                        : QStringLiteral("Nothing was reset; the ROM file is unchanged.");
        break;
    case Outcome::PartlyWritten:
        headline = save ? QStringLiteral("The changes were not saved completely: the track table "
                                         "in the ROM file may be only partly written.")
                        : QStringLiteral("The ROM was not reset completely: the track table in the "
                                         "ROM file may be only partly written.");
        break;
    case Outcome::Unconfirmed:
        headline = save
                       ? QStringLiteral("The changes may not have been saved: the disk did not "
                                        "confirm the write.")
                       : QStringLiteral("The ROM may not have been reset: the disk did not confirm "
                                        "the write.");
        break;
    }
    QString advice = result.advice;
    if (advice.isEmpty()) {
        advice = result.outcome == Outcome::InUse
                     ? QStringLiteral("Wait until that program is done with it, then ")
                     : QStringLiteral("Fix the cause and ");
        advice += save ? QStringLiteral("save again.") : QStringLiteral("reset again.");
    }
    return headline + QStringLiteral("\r\n\r\n") + result.reason + QStringLiteral("\r\n\r\n") +
           advice;
}

} // namespace slotwriter
