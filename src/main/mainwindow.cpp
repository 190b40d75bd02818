// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "main/mainwindow.h"

#include "app/appidentity.h"
#include "app/windowgeometry.h"
#include "main/boxrecall.h"
#include "main/slotlist.h"
#include "rom/detectrom.h"
#include "rom/slottable.h"
#include "tracks/trackid.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFont>
#include <QLabel>
#include <QPushButton>
#include <QStringListModel>

#include <exception>

namespace {

// Other systems put their own sans serif in its place. Kept on purpose: see HACKING.md, "Behaviour
// kept on purpose".
QFont sansSerifBold(qreal pointSize) {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setBold(true);
    font.setPointSizeF(pointSize);
    return font;
}

const QString startUpFailureText = QStringLiteral("You must choose a ROM! Closing down.");

} // namespace

MainWindow::MainWindow(MainWindowServices services, QWidget* parent)
    : QWidget(parent), m_services(std::move(services)) {
    setObjectName(QStringLiteral("main"));
    resize(1000, 575);
    centreOnScreen(this);
    createControls();
    new BoxRecall(this);
}

void MainWindow::createControls() {
    for (int i = 0; i < maxSlots; ++i) {
        const int column = i / 9;
        const int row = i % 9;
        const int left = 240 + 4920 * column;

        auto* list = new SlotList(this);
        list->setObjectName(QStringLiteral("comboLevelSlot%1").arg(i));
        list->setEditable(false);
        list->setGeometry(twips(left, 480 + 840 * row, 4695, 315));
        list->hide();
        m_comboLevelSlot[i] = list;

        auto* caption = new QLabel(this);
        caption->setObjectName(QStringLiteral("LabelComboLevel%1").arg(i));
        caption->setGeometry(twips(left, 240 + 840 * row, 2175, 255));
        caption->setFont(sansSerifBold(8.25));
        caption->setBuddy(list);
        m_LabelComboLevel[i] = caption;
    }

    m_saveChanges = new QPushButton(QStringLiteral("Save Changes"), this);
    m_saveChanges->setObjectName(QStringLiteral("saveChanges"));
    m_saveChanges->setGeometry(twips(2760, 7680, 4215, 735));
    m_saveChanges->setFont(sansSerifBold(17.25));

    m_resetROM = new QPushButton(QStringLiteral("Reset ROM to Defaults"), this);
    m_resetROM->setObjectName(QStringLiteral("resetROM"));
    m_resetROM->setGeometry(twips(8040, 7680, 4215, 735));
    m_resetROM->setFont(sansSerifBold(13.5));

    m_about = new QPushButton(QStringLiteral("About..."), this);
    m_about->setObjectName(QStringLiteral("about"));
    m_about->setGeometry(twips(13920, 15, 975, 375));

    // Created in focus order: slot lists 1 to 27, then the three buttons.
    connect(m_saveChanges, &QPushButton::clicked, this, &MainWindow::onSaveClicked);
    connect(m_resetROM, &QPushButton::clicked, this, &MainWindow::onResetClicked);
    connect(m_about, &QPushButton::clicked, this, &MainWindow::onAboutClicked);
}

void MainWindow::loadRom() {
    LoadOutcome outcome = LoadOutcome::Failed;
    try {
        outcome = identifyAndFill();
    } catch (const std::exception&) {
        // Left as failed: told like any other failure to load.
    }
    if (outcome == LoadOutcome::Failed)
        refuse(startUpFailureText);
}

MainWindow::LoadOutcome MainWindow::identifyAndFill() {
    RomContext rom{m_services.fs, {}, {}};
    // The filter's name gives only "*.bin" though it takes "*.gen" too. Kept on purpose: see
    // HACKING.md, "Behaviour kept on purpose".
    rom.romPath =
        m_services.prompter.askOpenFile({QStringLiteral("Select a ROM..."),
                                         QStringLiteral("ROM Files (*.bin)"),
                                         {QStringLiteral("*.bin"), QStringLiteral("*.gen")}},
                                        this);

    const detectROM::Identification identification = detectROM::identifyROM(rom, rom.romPath);
    // One box per failed read, then the start-up refusal. Kept on purpose: see HACKING.md,
    // "Behaviour kept on purpose".
    for (int i = 0; i < identification.failedReads; ++i)
        tellRomNotFound();
    if (!identification.plainFile)
        return LoadOutcome::Failed;

    if (!rom.romVariant) {
        refuse(QStringLiteral("This ROM is either not a Mega Drive Zoomlet ROM; or in SMD format, "
                              "which is not supported. Now closing down."));
        return LoadOutcome::Ended;
    }

    setWindowTitle(QStringLiteral("%1 - %2").arg(QLatin1String(appidentity::title),
                                                 QLatin1String(displayName(*rom.romVariant))));

    // Every known variant but the first game has a row to edit.
    const varianttable::VariantRow* row = varianttable::findSupported(rom.romVariant);
    if (row == nullptr) {
        refuse(QStringLiteral("Zoomlet 1 is not supported due to not having a Time Trial mode, and "
                              "therefore\r\nno choosable track list. Quitting application - please "
                              "choose one of the later titles."));
        return LoadOutcome::Ended;
    }
    return populateSlots(rom, *row);
}

void MainWindow::tellRomNotFound() {
    // Kept on purpose: see HACKING.md, "Behaviour kept on purpose".
    m_services.prompter.message({QStringLiteral("ROM not found!"), MessageIcon::Critical,
                                 MessageButtons::Ok, QStringLiteral("Hexwarden")},
                                this);
}

void MainWindow::refuse(const QString& text) {
    m_services.prompter.message({text, MessageIcon::Information, MessageButtons::Ok, {}}, this);
    m_services.lifetime.endProgram();
}

void MainWindow::onSaveClicked() {
    if (m_loaded.row == nullptr)
        return;
    QStringList currentTexts;
    for (int slot = 1; slot <= m_loaded.row->slotCount; ++slot)
        currentTexts << m_comboLevelSlot[slot - 1]->currentText();
    m_services.prompter.message(savereset::save(m_services.fs, m_loaded, currentTexts).message,
                                this);
}

void MainWindow::onResetClicked() {
    const Answer answer = m_services.prompter.message(
        {QStringLiteral("Really reset ROM?"), MessageIcon::Exclamation, MessageButtons::YesNo, {}},
        this);
    if (answer != Answer::Yes || m_loaded.row == nullptr)
        return;
    const savereset::Feedback feedback = savereset::reset(m_services.fs, m_loaded);
    m_services.prompter.message(feedback.message, this);
    // After a failure the program stays open so the user can act on the message.
    if (feedback.written)
        m_services.lifetime.endProgram();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Disabled under the About box, the window takes no input, the window system's close
    // included.
    if (!isEnabled())
        event->ignore();
    else
        QWidget::closeEvent(event);
}

void MainWindow::onAboutClicked() {
    // Kept on purpose: see HACKING.md, "Behaviour kept on purpose".
    // Disabled first: disabling a window disables the windows it owns too, and the box it is about
    // to own must stay usable. The About box enables the main window again when it unloads.
    setEnabled(false);
    if (m_services.showAbout)
        m_services.showAbout(this);
}

// The body of the window: one list per level slot, filled from the variant's catalogue and
// pre-selected from the ROM's slot table.
MainWindow::LoadOutcome MainWindow::populateSlots(const RomContext& rom,
                                                  const varianttable::VariantRow& row) {
    const slottable::Table table = slottable::read(rom, row);
    if (table.status == slottable::Status::Truncated) {
        m_services.prompter.message(
            {QStringLiteral("This ROM file is too short to hold its track table: it is probably "
                            "cut off or damaged. Nothing has been changed. Now closing down."),
             MessageIcon::Critical,
             MessageButtons::Ok,
             {}},
            this);
        m_services.lifetime.endProgram();
        return LoadOutcome::Ended;
    }
    if (table.status != slottable::Status::Read) {
        tellRomNotFound();
        return LoadOutcome::Failed;
    }
    m_loaded = {rom.romPath, &row, table.bytes};

    for (int slot = 1; slot <= row.slotCount; ++slot) {
        const int index = slot - 1;
        QComboBox* list = m_comboLevelSlot[index];
        fillSlotList(list, *row.catalogue);
        list->show();
        preselect(list, static_cast<quint8>(table.bytes[static_cast<std::size_t>(index)]));
        const QString caption = QStringLiteral("Level Slot %1").arg(slot);
        m_LabelComboLevel[index]->setText(caption);
        // The name stays the chosen track, which is what assistive tools read out as the value.
        list->setAccessibleDescription(caption);
    }
    return LoadOutcome::Editing;
}

void MainWindow::preselect(QComboBox* list, quint8 slotByte) {
    const QString id = trackid::text(slotByte);
    // Every entry is looked at and the last match wins; no match leaves nothing selected.
    // Kept on purpose: see HACKING.md, "Behaviour kept on purpose".
    int selected = -1;
    for (int j = 0; j < list->count(); ++j) {
        if (list->itemText(j).left(2) == id)
            selected = j;
    }
    list->setCurrentIndex(selected);
}

void MainWindow::fillSlotList(QComboBox* list, catalogues::Catalogue catalogue) {
    // Every list of a catalogue shows the same labels, so they share one model of them; each list
    // keeps its own current entry.
    QStringListModel*& model = m_catalogueModels[static_cast<std::size_t>(catalogue)];
    if (model == nullptr) {
        QStringList labels;
        for (const std::string_view label : catalogues::labels(catalogue))
            labels << QString::fromLatin1(label.data(), static_cast<qsizetype>(label.size()));
        model = new QStringListModel(labels, this);
    }
    list->setModel(model);
}
