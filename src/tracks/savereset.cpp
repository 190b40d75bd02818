// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "tracks/savereset.h"

#include "rom/slotwriter.h"
#include "tracks/factoryorders.h"
#include "tracks/trackid.h"

namespace savereset {
namespace {

Feedback write(RomFileSystem& fs, LoadedRom& rom, const std::string& slotString,
               slotwriter::Action action, const QString& success) {
    const bool save = action == slotwriter::Action::Save;
    const slotwriter::Result result = slotwriter::writeSlotTable(
        fs, rom.path, {rom.row->variant, save ? rom.table : std::nullopt}, rom.row->slotTableOffset,
        slotString);
    switch (result.outcome) {
    case slotwriter::Outcome::Written:
        rom.table = slotString;
        return {{success, MessageIcon::Information, MessageButtons::Ok, {}}, true};
    case slotwriter::Outcome::InUse:
        // Nothing is wrong with the file; it only has to wait its turn.
        return {{slotwriter::failureText(action, result),
                 MessageIcon::Exclamation,
                 MessageButtons::Ok,
                 {}},
                false};
    case slotwriter::Outcome::NotWritten:
        break;
    case slotwriter::Outcome::PartlyWritten:
    case slotwriter::Outcome::Unconfirmed:
        rom.table.reset();
        break;
    }
    return {
        {slotwriter::failureText(action, result), MessageIcon::Critical, MessageButtons::Ok, {}},
        false};
}

} // namespace

Feedback save(RomFileSystem& fs, LoadedRom& rom, const QStringList& currentTexts) {
    // Every byte is worked out before the file is opened, so a refusal leaves it untouched.
    const trackid::SlotString chosen = trackid::slotStringFromLabels(currentTexts);
    if (!chosen.complete()) {
        QStringList names;
        for (const int slot : chosen.slotsWithoutTrack)
            names << QStringLiteral("Level Slot %1").arg(slot);
        return {{QStringLiteral("Nothing was saved: no track is chosen for %1.\r\n\r\nChoose a "
                                "track there and save again.")
                     .arg(names.join(QLatin1String(", "))),
                 MessageIcon::Exclamation,
                 MessageButtons::Ok,
                 {}},
                false};
    }
    return write(fs, rom, chosen.bytes, slotwriter::Action::Save,
                 QStringLiteral("File saved successfully."));
}

Feedback reset(RomFileSystem& fs, LoadedRom& rom) {
    const std::span<const quint8> order = factoryorders::of(rom.row->variant);
    const std::string factoryOrder(order.begin(), order.end());
    return write(fs, rom, factoryOrder, slotwriter::Action::Reset,
                 QStringLiteral("ROM has been set to default values. Now quitting application."));
}

} // namespace savereset
