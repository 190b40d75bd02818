#pragma once

#include "rom/romfilesystem.h"

#include <QString>
#include <QtGlobal>

#include <string>

// Writes a whole slot table into the ROM in place, for Save and Reset alike.
namespace slotwriter {

enum class Outcome {
    Written,       // on disk: written, flushed and closed
    NotWritten,    // refused or failed before any byte was written; the file is as it was
    PartlyWritten, // the write failed midway; the slot table may hold some of the new bytes
    Unconfirmed,   // all bytes were handed over, but the flush or close failed
};

struct Result {
    Outcome outcome = Outcome::Written;
    QString reason; // plain words for the user; empty when written
};

// Opens the existing file at path (never creating or truncating it), checks that it is still the
// file seen at start-up (expected) and still long enough, writes slotString at offset with one
// writeText, flushes it to the device and closes it.
Result writeSlotTable(RomFileSystem& fs, const QString& path, const FileIdentity& expected,
                      qint32 offset, const std::string& slotString);

enum class Action { Save, Reset };

// The whole text of the message that tells the user a failed write's outcome.
QString failureText(Action action, const Result& result);

} // namespace slotwriter
