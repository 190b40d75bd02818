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
    AboutApp(QWidget* mainWindow, AboutServices& services);
    ~AboutApp() override;

    // Creates, loads and shows a new box, centred, that deletes itself when closed.
    static AboutApp* show(QWidget* mainWindow, AboutServices& services);

    // VB-style caption text for a label: "&&" shows one "&", a lone "&" marks an access key.
    static QString displayedCaption(const QString& caption);
    // folder joined with name; no second separator after a folder that ends in one (the root of a
    // drive).
    static QString programFile(const QString& folder, const QString& name, QChar separator);

    QLabel* picIcon() const { return m_picIcon; }
    QLabel* lblTitle() const { return m_lblTitle; }
    QLabel* lblDescription() const { return m_lblDescription; }
    QLabel* lblDisclaimer() const { return m_lblDisclaimer; }
    QLabel* lblVersionInfo() const { return m_lblVersionInfo; }
    QPushButton* cmdOK() const { return m_cmdOK; }
    QPushButton* cmdSysInfo() const { return m_cmdSysInfo; }
    QTimer* stillPlayingTimer() const { return m_stillPlayingTimer; }

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

    QWidget* m_mainWindow;
    AboutServices& m_services;
    bool m_unloaded = false;
    bool m_musicQueued = false;

    QLabel* m_picIcon = nullptr;
    QLabel* m_lblTitle = nullptr;
    QLabel* m_lblDescription = nullptr;
    QLabel* m_lblDisclaimer = nullptr;
    QLabel* m_lblVersionInfo = nullptr;
    QPushButton* m_cmdOK = nullptr;
    QPushButton* m_cmdSysInfo = nullptr;
    QTimer* m_stillPlayingTimer = nullptr;
};
