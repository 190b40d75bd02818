// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "main/qtprompter.h"

#include "app/windowgeometry.h"
#include "main/openfiledialog.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>
#include <QWidget>

namespace {

// Where Qt 6.4 draws the frame itself (Wayland), its title bar shows minimise, maximise and close
// buttons whatever the window asks for, and cuts the title short on a narrow box: there the box is
// made wide enough for its title to show whole between them.
void keepTitleWhole(QMessageBox& box) {
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return;
    QFont titleFont;
    titleFont.setPixelSize(14);
    const int titleWidth = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle());
    // The title is centred on the bar and cut where the three buttons (77 pixels) begin.
    const int needed = titleWidth + 2 * 77 + 16;
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        grid->addItem(new QSpacerItem(needed, 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
}

} // namespace

QString QtPrompter::askOpenFile(const OpenFileRequest& request) {
    return openFileName(request, m_owner);
}

Answer QtPrompter::message(const Message& message) {
    static constexpr QMessageBox::Icon icons[] = {QMessageBox::NoIcon, QMessageBox::Information,
                                                  QMessageBox::Warning, QMessageBox::Critical};
    QString text = message.text;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QMessageBox box(icons[static_cast<int>(message.icon)], message.shownTitle(), text,
                    QMessageBox::NoButton, m_owner && m_owner->isVisible() ? m_owner : nullptr,
                    fixedSizeDialog);
    keepTitleWhole(box);
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
