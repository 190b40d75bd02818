// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "about/aboutapp.h"
#include "app/appidentity.h"
#include "main/desktopentry.h"
#include "main/mainwindow.h"
#include "main/nosettings.h"
#include "main/qtlifetime.h"
#include "main/qtprompter.h"

#include <QApplication>
#include <QDir>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    keepNoSettings();
    QApplication::setApplicationName(QString::fromLatin1(appidentity::title));
    QApplication::setApplicationVersion(QString::fromLatin1(appversion::release));
    nameDesktopEntry(app);

    QtPrompter prompter;
    QtLifetime lifetime;
    // Both are cheap until used: the music module loads only when the About box starts it.
    const std::unique_ptr<Music> music = createSystemMusic();
    const std::unique_ptr<SystemInfoTool> sysInfo = createSystemInfoTool();
    AboutServices about{*music, *sysInfo, prompter,
                        QDir::toNativeSeparators(QCoreApplication::applicationDirPath()),
                        QDir::separator()};

    MainWindow window({systemFileSystem(), prompter, lifetime,
                       [&](QWidget& mainWindow) { AboutApp::show(mainWindow, about); }});
    window.loadRom();
    if (lifetime.ended())
        return 0;
    window.show();
    return QApplication::exec();
}
