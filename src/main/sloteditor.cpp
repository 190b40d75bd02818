// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
// The body of the main window: one list per level slot, filled from the variant's catalogue and
// pre-selected from the ROM's slot table.
#include "main/mainwindow.h"

#include "rom/slottable.h"
#include "tracks/trackid.h"

#include <QComboBox>
#include <QLabel>
#include <QStringListModel>

MainWindow::LoadOutcome MainWindow::populateSlots(const varianttable::VariantRow& row) {
    const slottable::Table table = slottable::read(m_rom, row);
    if (table.status == slottable::Status::Truncated) {
        m_services.prompter.message(
            {QStringLiteral("This ROM file is too short to hold its track table: it is probably "
                            "cut off or damaged. Nothing has been changed. Now closing down."),
             MessageIcon::Critical,
             MessageButtons::Ok,
             {}});
        m_services.lifetime.endProgram();
        return LoadOutcome::Ended;
    }
    if (table.status != slottable::Status::Read)
        return LoadOutcome::Failed;
    m_loaded = {m_rom.romPath, &row, table.bytes};
    const std::string& slotData = table.bytes;

    for (currentSlot = 1; currentSlot <= row.slotCount; ++currentSlot) {
        switch (row.catalogue) {
        case catalogues::Catalogue::Zoomlet2:
            AddZL2LevelData();
            break;
        case catalogues::Catalogue::Zoomlet96:
            AddZL96LevelData();
            break;
        case catalogues::Catalogue::ZoomletMilitary:
            AddZLMLevelData();
            break;
        }
        const int index = currentSlot - 1;
        QComboBox* list = m_comboLevelSlot[index];
        list->show();
        preselect(list, static_cast<quint8>(slotData[static_cast<std::size_t>(index)]));
        const QString caption = QStringLiteral("Level Slot %1").arg(currentSlot);
        m_LabelComboLevel[index]->setText(caption);
        // The name stays the chosen track, which is what assistive tools read out as the value.
        list->setAccessibleDescription(caption);
    }
    return LoadOutcome::Editing;
}

void MainWindow::preselect(QComboBox* list, quint8 slotByte) {
    const QString id = trackid::text(slotByte);
    // Every entry is looked at and the last match wins; no match leaves nothing selected.
    int selected = -1;
    for (int j = 0; j < list->count(); ++j) {
        if (list->itemText(j).left(2) == id)
            selected = j;
    }
    list->setCurrentIndex(selected);
}

void MainWindow::addLevelData(catalogues::Catalogue catalogue) {
    // Every list of a catalogue shows the same labels, so they share one model of them; each list
    // keeps its own current entry.
    QStringListModel*& model = m_catalogueModels[static_cast<std::size_t>(catalogue)];
    if (model == nullptr) {
        QStringList labels;
        for (const std::string_view label : catalogues::labels(catalogue))
            labels << QString::fromLatin1(label.data(), static_cast<qsizetype>(label.size()));
        model = new QStringListModel(labels, this);
    }
    m_comboLevelSlot.at(currentSlot - 1)->setModel(model);
}

void MainWindow::AddZL2LevelData() {
    addLevelData(catalogues::Catalogue::Zoomlet2);
}

void MainWindow::AddZL96LevelData() {
    addLevelData(catalogues::Catalogue::Zoomlet96);
}

void MainWindow::AddZLMLevelData() {
    addLevelData(catalogues::Catalogue::ZoomletMilitary);
}
