// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "tracks/startup.h"

#include "app/appidentity.h"
#include "rom/detectrom.h"
#include "rom/slottable.h"
#include "tracks/catalogues.h"

#include <exception>

namespace startup {
namespace {

Message refusal(const QString& text) {
    return {text, MessageIcon::Information, MessageButtons::Ok, {}};
}

// What every start-up that cannot go on ends with, unless it was refused in its own words.
Message failure() {
    return refusal(QStringLiteral("You must choose a ROM! Closing down."));
}

Message romNotFound() {
    // Kept on purpose: see HACKING.md, "Behaviour kept on purpose".
    return {QStringLiteral("ROM not found!"), MessageIcon::Critical, MessageButtons::Ok,
            QStringLiteral("Hexwarden")};
}

// The catalogue entry a list starts on for the ID in a slot's byte. Every entry is looked at and
// the last match wins; no match leaves nothing selected. Kept on purpose: see HACKING.md,
// "Behaviour kept on purpose".
int entryFor(catalogues::Catalogue catalogue, quint8 slotByte) {
    const auto labels = catalogues::labels(catalogue);
    int selected = -1;
    for (std::size_t j = 0; j < labels.size(); ++j) {
        if (catalogues::idOf(labels[j]) == slotByte)
            selected = static_cast<int>(j);
    }
    return selected;
}

void identifyAndRead(Outcome& outcome, RomFileSystem& fs, const QString& path) {
    RomContext rom{fs, path, {}};
    const detectROM::Identification identification = detectROM::identifyROM(rom, path);
    // One box per failed read, then the start-up refusal. Kept on purpose: see HACKING.md,
    // "Behaviour kept on purpose".
    outcome.messages.assign(static_cast<std::size_t>(identification.failedReads), romNotFound());
    if (!identification.plainFile) {
        outcome.messages.push_back(failure());
        return;
    }
    if (!rom.romVariant) {
        outcome.messages.push_back(
            refusal(QStringLiteral("This ROM is either not a Mega Drive Zoomlet ROM; or in SMD "
                                   "format, which is not supported. Now closing down.")));
        return;
    }
    outcome.windowTitle = QStringLiteral("%1 - %2").arg(
        QLatin1String(appidentity::title), QLatin1String(displayName(*rom.romVariant)));

    // Every known variant but the first game has a row to edit.
    const varianttable::VariantRow* row = varianttable::findSupported(rom.romVariant);
    if (row == nullptr) {
        outcome.messages.push_back(refusal(QStringLiteral(
            "Zoomlet 1 is not supported due to not having a Time Trial mode, and therefore\r\nno "
            "choosable track list. Quitting application - please choose one of the later "
            "titles.")));
        return;
    }

    const slottable::Table table = slottable::read(rom, *row);
    if (table.status == slottable::Status::Truncated) {
        outcome.messages.push_back(
            {QStringLiteral("This ROM file is too short to hold its track table: it is probably "
                            "cut off or damaged. Nothing has been changed. Now closing down."),
             MessageIcon::Critical,
             MessageButtons::Ok,
             {}});
        return;
    }
    if (table.status != slottable::Status::Read) {
        outcome.messages.push_back(romNotFound());
        outcome.messages.push_back(failure());
        return;
    }
    for (const char slotByte : table.bytes)
        outcome.selected.push_back(entryFor(*row->catalogue, static_cast<quint8>(slotByte)));
    outcome.rom = {path, row, table.bytes};
}

} // namespace

OpenFileRequest romRequest() {
    return {QStringLiteral("Select a ROM..."),
            QStringLiteral("ROM Files (*.bin)"),
            {QStringLiteral("*.bin"), QStringLiteral("*.gen")}};
}

Outcome open(RomFileSystem& fs, const QString& path) {
    Outcome outcome;
    try {
        identifyAndRead(outcome, fs, path);
    } catch (const std::exception&) {
        // Told like any other failure to load, after the boxes already due; the file is set to
        // edit only once everything else has been made.
        outcome.messages.push_back(failure());
    }
    return outcome;
}

} // namespace startup
