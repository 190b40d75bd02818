// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "main/mainwindow.h"

#include "main/boxrecall.h"
#include "main/slotlist.h"
#include "tracks/startup.h"
#include "ui/windowgeometry.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFont>
#include <QLabel>
#include <QPushButton>
#include <QStringListModel>

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

} // namespace

static_assert(
    [] {
        for (const varianttable::VariantRow& row : varianttable::rows) {
            if (row.slotCount > MainWindow::maxSlots)
                return false;
        }
        return true;
    }(),
    "the window has a list for every level slot of every variant");

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
        m_slotLists[i] = list;

        auto* caption = new QLabel(this);
        caption->setObjectName(QStringLiteral("LabelComboLevel%1").arg(i));
        caption->setGeometry(twips(left, 240 + 840 * row, 2175, 255));
        caption->setFont(sansSerifBold(8.25));
        caption->setBuddy(list);
        m_slotCaptions[i] = caption;
    }

    m_saveButton = new QPushButton(QStringLiteral("Save Changes"), this);
    m_saveButton->setObjectName(QStringLiteral("saveChanges"));
    m_saveButton->setGeometry(twips(2760, 7680, 4215, 735));
    m_saveButton->setFont(sansSerifBold(17.25));

    m_resetButton = new QPushButton(QStringLiteral("Reset ROM to Defaults"), this);
    m_resetButton->setObjectName(QStringLiteral("resetROM"));
    m_resetButton->setGeometry(twips(8040, 7680, 4215, 735));
    m_resetButton->setFont(sansSerifBold(13.5));

    m_aboutButton = new QPushButton(QStringLiteral("About..."), this);
    m_aboutButton->setObjectName(QStringLiteral("about"));
    m_aboutButton->setGeometry(twips(13920, 15, 975, 375));

    // Created in focus order: slot lists 1 to 27, then the three buttons.
    connect(m_saveButton, &QPushButton::clicked, this, &MainWindow::onSaveClicked);
    connect(m_resetButton, &QPushButton::clicked, this, &MainWindow::onResetClicked);
    connect(m_aboutButton, &QPushButton::clicked, this, &MainWindow::onAboutClicked);
}

void MainWindow::loadRom() {
    const QString path = m_services.prompter.askOpenFile(startup::romRequest(), this);
    const startup::Outcome outcome = startup::open(m_services.fs, path);
    if (!outcome.windowTitle.isEmpty())
        setWindowTitle(outcome.windowTitle);
    for (const Message& message : outcome.messages)
        m_services.prompter.message(message, this);
    if (!outcome.editing()) {
        m_services.lifetime.endProgram();
        return;
    }
    m_loaded = outcome.rom;
    showSlots(*outcome.rom.row, outcome.selected);
}

void MainWindow::onSaveClicked() {
    if (m_loaded.row == nullptr)
        return;
    QStringList currentTexts;
    for (int slot = 1; slot <= m_loaded.row->slotCount; ++slot)
        currentTexts << m_slotLists[slot - 1]->currentText();
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
        m_services.showAbout(*this);
}

// The body of the window: one list per level slot of the variant, filled from its catalogue.
void MainWindow::showSlots(const varianttable::VariantRow& row, const std::vector<int>& selected) {
    for (int slot = 1; slot <= row.slotCount; ++slot) {
        const int index = slot - 1;
        QComboBox* list = m_slotLists[index];
        fillSlotList(list, *row.catalogue);
        list->show();
        list->setCurrentIndex(selected[static_cast<std::size_t>(index)]);
        const QString caption = savereset::slotName(slot);
        m_slotCaptions[index]->setText(caption);
        // The name stays the chosen track, which is what assistive tools read out as the value.
        list->setAccessibleDescription(caption);
    }
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
