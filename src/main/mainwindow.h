// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#pragma once

#include "app/prompter.h"
#include "rom/varianttable.h"
#include "tracks/catalogues.h"
#include "tracks/savereset.h"

#include <QWidget>

#include <array>
#include <functional>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class QStringListModel;

// What the main window needs from outside: the file system, the user, the program's end, and
// the About box (given the main window to disable and enable again).
struct MainWindowServices {
    RomFileSystem& fs;
    Prompter& prompter;
    Lifetime& lifetime;
    std::function<void(QWidget& mainWindow)> showAbout;
};

// The program's only start-up object (objectName "main"): asks for the ROM, refuses what cannot
// be edited, and otherwise shows one list per level slot.
class MainWindow final : public QWidget {
    Q_OBJECT
public:
    static constexpr int maxSlots = 27;

    explicit MainWindow(MainWindowServices services, QWidget* parent = nullptr);

    // The load step: asks for the ROM and fills the slot lists; runs once, before the window is
    // first shown. Ends the program through Lifetime for every refusal; the caller must then not
    // show the window.
    void loadRom();

    QComboBox* slotList(int index) const { return m_slotLists.at(index); }
    QLabel* slotCaption(int index) const { return m_slotCaptions.at(index); }
    QPushButton* saveButton() const { return m_saveButton; }
    QPushButton* resetButton() const { return m_resetButton; }
    QPushButton* aboutButton() const { return m_aboutButton; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void showSlots(const varianttable::VariantRow& row, const std::vector<int>& selected);
    void fillSlotList(QComboBox* list, catalogues::Catalogue catalogue);
    void createControls();

    void onSaveClicked();
    void onResetClicked();
    void onAboutClicked();

    MainWindowServices m_services;
    // The ROM this run edits, once loaded: what Save and Reset write and check the file against.
    savereset::LoadedRom m_loaded;
    std::array<QStringListModel*, 3> m_catalogueModels{}; // one per catalogue, made on first use

    std::array<QComboBox*, maxSlots> m_slotLists{};
    std::array<QLabel*, maxSlots> m_slotCaptions{};
    QPushButton* m_saveButton = nullptr;
    QPushButton* m_resetButton = nullptr;
    QPushButton* m_aboutButton = nullptr;
};
