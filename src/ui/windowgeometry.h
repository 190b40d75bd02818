// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#pragma once

#include <QGuiApplication>
#include <QPoint>
#include <QRect>
#include <QScreen>
#include <QWidget>

// The windows were laid out in twips; 15 twips make a pixel.
// Kept on purpose: see HACKING.md, "Behaviour kept on purpose".
constexpr int twips(int length) {
    return length / 15;
}
constexpr QPoint twips(int x, int y) {
    return {twips(x), twips(y)};
}
constexpr QRect twips(int left, int top, int width, int height) {
    return {twips(left), twips(top), twips(width), twips(height)};
}

// A box of fixed size: where Qt draws the frame itself, it offers no maximise or minimise button.
constexpr Qt::WindowFlags fixedSizeDialog = Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint |
                                            Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                            Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;

// Places a top-level window in the middle of the primary screen's free area.
inline void centreOnScreen(QWidget* window) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = window->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
    }
}
