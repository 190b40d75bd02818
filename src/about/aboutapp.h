// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#pragma once

#include "about/music.h"
#include "about/sysinfotool.h"

#include <QString>
#include <QWidget>

class QLabel;
class QPushButton;
class QTimer;
class Prompter;

// What the About box needs from outside.
struct AboutServices {
    Music& music;
    SystemInfoTool& sysInfo;
    Prompter& prompter;
    QString programFolder; // in native form
    QChar separator;       // the platform's folder separator
};

// The About box (objectName "aboutApp"): modeless, while the main window stays disabled; it
// enables the main window again when it unloads, whichever way it is closed.
class AboutApp final : public QWidget {
    Q_OBJECT
public:
    AboutApp(QWidget& mainWindow, AboutServices& services);
    ~AboutApp() override;

    // Creates, loads and shows a new box, centred, that deletes itself when closed.
    static AboutApp* show(QWidget& mainWindow, AboutServices& services);

    // VB-style caption text for a label: "&&" shows one "&", a lone "&" marks an access key.
    static QString displayedCaption(const QString& caption);
    // folder joined with name; no second separator after a folder that ends in one (the root of a
    // drive).
    static QString programFile(const QString& folder, const QString& name, QChar separator);

    QLabel* iconLabel() const { return m_iconLabel; }
    QLabel* titleLabel() const { return m_titleLabel; }
    QLabel* descriptionLabel() const { return m_descriptionLabel; }
    QLabel* disclaimerLabel() const { return m_disclaimerLabel; }
    QLabel* versionLabel() const { return m_versionLabel; }
    QPushButton* okButton() const { return m_okButton; }
    QPushButton* sysInfoButton() const { return m_sysInfoButton; }

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void useWindowColours();
    void loadTexts();
    void unload();
    void onSysInfoClicked();
    void startMusic();
    void onMusicPoll();

    QWidget& m_mainWindow; // its owner, which outlives it
    AboutServices& m_services;
    bool m_unloaded = false;
    bool m_musicQueued = false;

    QLabel* m_iconLabel = nullptr;
    QLabel* m_titleLabel = nullptr;
    QLabel* m_descriptionLabel = nullptr;
    QLabel* m_disclaimerLabel = nullptr;
    QLabel* m_versionLabel = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_sysInfoButton = nullptr;
    QTimer* m_stillPlayingTimer = nullptr;
};
