// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
// What no start-up of Lopwinder can do without: its window with the same controls, texts and
// fonts, each list holding only the entry it shows. Ends once it has painted.
#include "firstpaint.h"

#include <QApplication>
#include <QComboBox>
#include <QFont>
#include <QLabel>
#include <QPushButton>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(1000, 575);
    QFont bold(QStringLiteral("MS Sans Serif"));
    bold.setBold(true);
    for (int i = 0; i < 27; ++i) {
        const int left = 16 + 328 * (i / 9);
        const int top = 16 + 56 * (i % 9);
        auto* list = new QComboBox(&window);
        list->addItem(
            QStringLiteral("%1: Quorell Bend (Skimmerling, Sprig - Vellum Hollow)").arg(i));
        list->setGeometry(left, top + 16, 313, 21);
        auto* caption = new QLabel(QStringLiteral("Level Slot %1").arg(i + 1), &window);
        caption->setGeometry(left, top, 145, 17);
        bold.setPointSizeF(8.25);
        caption->setFont(bold);
    }
    for (const auto& [text, x, size] :
         {std::tuple{"Save Changes", 184, 17.25}, std::tuple{"Reset ROM to Defaults", 536, 13.5}}) {
        auto* button = new QPushButton(QString::fromLatin1(text), &window);
        button->setGeometry(x, 512, 281, 49);
        bold.setPointSizeF(size);
        button->setFont(bold);
    }
    (new QPushButton(QStringLiteral("About..."), &window))->setGeometry(928, 1, 65, 25);
    FirstPaint painted(&window, [] {
        announcePainted();
        QCoreApplication::exit(0);
    });
    window.show();
    return QApplication::exec();
}
