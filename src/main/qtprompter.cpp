// SPDX-License-Identifier: GPL-3.0-or-later
#include "main/qtprompter.h"

#include "main/openfiledialog.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>

QString QtPrompter::askOpenFile(const OpenFileRequest& request) {
    return openFileName(request);
}

Answer QtPrompter::message(const Message& message) {
    static constexpr QMessageBox::Icon icons[] = {QMessageBox::NoIcon, QMessageBox::Information,
                                                  QMessageBox::Warning, QMessageBox::Critical};
    QString text = message.text;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QMessageBox box(icons[static_cast<int>(message.icon)], message.shownTitle(), text);
    if (message.buttons == MessageButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    const int pressed = box.exec();
    if (message.buttons == MessageButtons::Ok)
        return Answer::Ok;
    return pressed == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

void QtLifetime::endProgram() {
    m_ended = true;
    // Hidden at once so nothing more can be clicked while the event loop winds down.
    for (QWidget* window : QApplication::topLevelWidgets())
        window->hide();
    QCoreApplication::exit(0);
}
