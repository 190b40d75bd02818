// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "main/mainwindow.h"

#include "app/appidentity.h"
#include "app/windowgeometry.h"
#include "main/slotlist.h"
#include "rom/detectrom.h"
#include "rom/variantnames.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFont>
#include <QLabel>
#include <QPushButton>

#include <exception>

namespace {

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
    : QWidget(parent),
      m_services(std::move(services)), m_rom{m_services.fs, m_services.prompter, {}, {}} {
    setObjectName(QStringLiteral("main"));
    resize(1000, 575);
    centreOnScreen(this);
    createControls();
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
    connect(m_saveChanges, &QPushButton::clicked, this, &MainWindow::saveChanges_Click);
    connect(m_resetROM, &QPushButton::clicked, this, &MainWindow::resetROM_Click);
    connect(m_about, &QPushButton::clicked, this, &MainWindow::about_Click);
}

void MainWindow::Form_Load() {
    LoadOutcome outcome = LoadOutcome::Failed;
    try {
        outcome = loadStep();
    } catch (const std::exception&) {
        outcome = LoadOutcome::Failed;
    }
    if (outcome == LoadOutcome::Failed)
        refuse(startUpFailureText);
}

MainWindow::LoadOutcome MainWindow::loadStep() {
    m_rom.romPath = m_services.prompter.askOpenFile(
        {QStringLiteral("Select a ROM..."), QStringLiteral("ROM Files (*.bin)|*.bin;*.gen"), 1});

    if (!detectROM::identifyROM(m_rom, m_rom.romPath))
        return LoadOutcome::Failed;

    if (m_rom.romVariant == variantnames::error) {
        refuse(QStringLiteral("This ROM is either not a Mega Drive Zoomlet ROM; or in SMD format, "
                              "which is not supported. Now closing down."));
        return LoadOutcome::Ended;
    }

    setWindowTitle(QStringLiteral("%1 - %2").arg(QLatin1String(appidentity::title),
                                                 QString::fromStdString(m_rom.romVariant)));

    if (m_rom.romVariant == variantnames::zoomlet1U ||
        m_rom.romVariant == variantnames::zoomlet1E) {
        refuse(QStringLiteral("Zoomlet 1 is not supported due to not having a Time Trial mode, and "
                              "therefore\r\nno choosable track list. Quitting application - please "
                              "choose one of the later titles."));
        return LoadOutcome::Ended;
    }

    const varianttable::VariantRow* row = varianttable::findSupported(m_rom.romVariant);
    if (row == nullptr)
        return LoadOutcome::Failed;
    return populateSlots(*row);
}

void MainWindow::refuse(const QString& text) {
    m_services.prompter.message({text, MessageIcon::Information, MessageButtons::Ok, {}});
    m_services.lifetime.endProgram();
}

void MainWindow::saveChanges_Click() {
    if (m_loaded.row == nullptr)
        return;
    QStringList currentTexts;
    for (currentSlot = 1; currentSlot <= m_loaded.row->slotCount; ++currentSlot)
        currentTexts << m_comboLevelSlot[currentSlot - 1]->currentText();
    m_services.prompter.message(savereset::save(m_rom.fs, m_loaded, currentTexts).message);
}

void MainWindow::resetROM_Click() {
    const Answer answer = m_services.prompter.message(
        {QStringLiteral("Really reset ROM?"), MessageIcon::Exclamation, MessageButtons::YesNo, {}});
    if (answer != Answer::Yes || m_loaded.row == nullptr)
        return;
    const savereset::Feedback feedback = savereset::reset(m_rom.fs, m_loaded);
    m_services.prompter.message(feedback.message);
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

void MainWindow::about_Click() {
    // Disabled first: disabling a window disables the windows it owns too, and the box it is about
    // to own must stay usable. The About box enables the main window again when it unloads.
    setEnabled(false);
    if (m_services.showAbout)
        m_services.showAbout(this);
}
