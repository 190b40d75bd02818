// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "main/qtprompter.h"

#include "app/linebreaks.h"
#include "main/openfiledialog.h"
#include "main/titlebar.h"
#include "ui/windowgeometry.h"

#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>
#include <QWidget>

namespace {

void keepTitleWhole(QMessageBox& box) {
    const int needed = widthForWholeTitle(box.windowTitle());
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (needed > 0 && grid != nullptr) {
        grid->addItem(new QSpacerItem(needed, 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
}

} // namespace

QString QtPrompter::askOpenFile(const OpenFileRequest& request, QObject* owner) {
    return openFileName(request, qobject_cast<QWidget*>(owner));
}

Answer QtPrompter::message(const Message& message, QObject* owner) {
    auto* window = qobject_cast<QWidget*>(owner);
    static constexpr QMessageBox::Icon icons[] = {QMessageBox::NoIcon, QMessageBox::Information,
                                                  QMessageBox::Warning, QMessageBox::Critical};
    QMessageBox box(icons[static_cast<int>(message.icon)], message.shownTitle(),
                    withQtLineBreaks(message.text), QMessageBox::NoButton,
                    window && window->isVisible() ? window : nullptr, fixedSizeDialog);
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
