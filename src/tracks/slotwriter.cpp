#include "tracks/slotwriter.h"

#include "rom/readwritetext.h"

namespace slotwriter {

Result writeSlotTable(RomFileSystem& fs, const QString& path, const FileIdentity& expected,
                      qint32 offset, const std::string& slotString) {
    IoResult opened;
    std::unique_ptr<RomFile> file = fs.openExisting(path, opened);
    if (!file) {
        return {
            Outcome::NotWritten,
            QStringLiteral("The ROM file could not be opened for writing: %1").arg(opened.reason)};
    }
    const FileStatus status = file->status();
    if (!status.exists || !status.regular || status.identity != expected) {
        return {
            Outcome::NotWritten,
            QStringLiteral("The ROM file has been replaced by another file since it was opened.")};
    }
    const qint64 end = static_cast<qint64>(offset) + static_cast<qint64>(slotString.size());
    if (status.size < end) {
        // Extending it would invent bytes for a table the file does not hold.
        return {Outcome::NotWritten,
                QStringLiteral("The ROM file has become too short to hold its track table; it was "
                               "not extended.")};
    }
    if (const IoResult written = readwritetext::writeText(*file, offset, slotString); !written.ok())
        return {Outcome::PartlyWritten, QStringLiteral("Writing failed: %1").arg(written.reason)};
    if (const IoResult flushed = file->flush(); !flushed.ok()) {
        return {
            Outcome::Unconfirmed,
            QStringLiteral("The data could not be flushed to the disk: %1").arg(flushed.reason)};
    }
    if (const IoResult closed = file->close(); !closed.ok()) {
        return {Outcome::Unconfirmed,
                QStringLiteral("The file could not be closed: %1").arg(closed.reason)};
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
    const QString retry = save ? QStringLiteral("Fix the cause and save again.")
                               : QStringLiteral("Fix the cause and reset again.");
    return headline + QStringLiteral("\r\n\r\n") + result.reason + QStringLiteral("\r\n\r\n") +
           retry;
}

} // namespace slotwriter
