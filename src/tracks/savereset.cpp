// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "tracks/savereset.h"

#include "rom/slotwriter.h"
#include "tracks/trackid.h"

namespace savereset {
namespace {

enum class Action { Save, Reset };

// What happened, in plain words, and what the user can do (empty: fix the cause and try again).
struct Explanation {
    QString reason;
    QString advice;
};

Explanation explain(const slotwriter::Result& result, RomVariant loaded) {
    using slotwriter::Failure;
    const QString restore = QStringLiteral("Restore the file from a copy.");
    switch (result.failure) {
    case Failure::None:
        break;
    case Failure::InUse:
        return {QStringLiteral("Another program is using the ROM file."), {}};
    case Failure::OpenFailed:
        return {
            QStringLiteral("The ROM file could not be opened for writing: %1").arg(result.detail),
            {}};
    case Failure::LockFailed:
        return {QStringLiteral("The ROM file could not be locked: %1").arg(result.detail), {}};
    case Failure::ReadFailed:
        return {QStringLiteral("The ROM file could not be read: %1").arg(result.detail), {}};
    case Failure::NotSameVariant:
        return {
            QStringLiteral("The file is no longer the ROM that was loaded: it is not a \"%1\" "
                           "image any more.")
                .arg(QLatin1String(displayName(loaded))),
            QStringLiteral("To edit the file as it is now, close Lopwinder and open it again.")};
    case Failure::SizeUnknown:
    case Failure::SizeUnconfirmed:
        return {QStringLiteral("The ROM file's size could not be read: %1").arg(result.detail), {}};
    case Failure::TooShort:
        return {QStringLiteral("The ROM file has become too short to hold its track table; it was "
                               "not extended."),
                restore};
    case Failure::TableChanged:
        return {QStringLiteral("Another program changed the track table in the ROM file since "
                               "Lopwinder loaded it."),
                QStringLiteral("Close Lopwinder and open the file again to see the current "
                               "tracks.")};
    case Failure::WriteFailed:
        return {QStringLiteral("Writing failed: %1").arg(result.detail), {}};
    case Failure::SizeChanged:
        return {QStringLiteral("Another program changed the ROM file's size while it was being "
                               "written."),
                restore};
    case Failure::FlushFailed:
        return {QStringLiteral("The data could not be flushed to the disk: %1").arg(result.detail),
                {}};
    case Failure::CloseFailed:
        return {QStringLiteral("The file could not be closed: %1").arg(result.detail), {}};
    }
    return {};
}

// The whole text of the message that tells the user a failed write's outcome.
QString failureText(Action action, const slotwriter::Result& result, RomVariant loaded) {
    using slotwriter::Outcome;
    const bool save = action == Action::Save;
    QString headline;
    switch (result.outcome()) {
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
    Explanation explanation = explain(result, loaded);
    if (explanation.advice.isEmpty()) {
        explanation.advice = result.outcome() == Outcome::InUse
                                 ? QStringLiteral("Wait until that program is done with it, then ")
                                 : QStringLiteral("Fix the cause and ");
        explanation.advice += save ? QStringLiteral("save again.") : QStringLiteral("reset again.");
    }
    return headline + QStringLiteral("\r\n\r\n") + explanation.reason + QStringLiteral("\r\n\r\n") +
           explanation.advice;
}

Feedback write(RomFileSystem& fs, LoadedRom& rom, const std::string& slotString, Action action,
               const QString& success) {
    const bool save = action == Action::Save;
    const slotwriter::Result result = slotwriter::writeSlotTable(
        fs, rom.path, {rom.row->variant, save ? rom.table : std::nullopt}, rom.row->slotTableOffset,
        slotString);
    const QString failure = failureText(action, result, rom.row->variant);
    switch (result.outcome()) {
    case slotwriter::Outcome::Written:
        rom.table = slotString;
        return {{success, MessageIcon::Information, MessageButtons::Ok, {}}, true};
    case slotwriter::Outcome::InUse:
        // Nothing is wrong with the file; it only has to wait its turn.
        return {{failure, MessageIcon::Exclamation, MessageButtons::Ok, {}}, false};
    case slotwriter::Outcome::NotWritten:
        break;
    case slotwriter::Outcome::PartlyWritten:
    case slotwriter::Outcome::Unconfirmed:
        rom.table.reset();
        break;
    }
    return {{failure, MessageIcon::Critical, MessageButtons::Ok, {}}, false};
}

} // namespace

QString slotName(int slot) {
    return QStringLiteral("Level Slot %1").arg(slot);
}

Feedback save(RomFileSystem& fs, LoadedRom& rom, const QStringList& currentTexts) {
    // Every byte is worked out before the file is opened, so a refusal leaves it untouched.
    const trackid::SlotString chosen = trackid::slotStringFromLabels(currentTexts);
    if (!chosen.complete()) {
        QStringList names;
        for (const int slot : chosen.slotsWithoutTrack)
            names << slotName(slot);
        return {{QStringLiteral("Nothing was saved: no track is chosen for %1.\r\n\r\nChoose a "
                                "track there and save again.")
                     .arg(names.join(QLatin1String(", "))),
                 MessageIcon::Exclamation,
                 MessageButtons::Ok,
                 {}},
                false};
    }
    return write(fs, rom, chosen.bytes, Action::Save, QStringLiteral("File saved successfully."));
}

Feedback reset(RomFileSystem& fs, LoadedRom& rom) {
    const std::string factoryOrder(rom.row->factoryOrder.begin(), rom.row->factoryOrder.end());
    return write(fs, rom, factoryOrder, Action::Reset,
                 QStringLiteral("ROM has been set to default values. Now quitting application."));
}

} // namespace savereset
