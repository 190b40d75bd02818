// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "main/boxrecall.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace {

void bringBack(QWidget* box) {
    // Minimised by the window manager, a box is hidden to Qt as well.
    if (box->isMinimized() || !box->isVisible())
        box->showNormal();
    box->raise();
    box->activateWindow();
}

} // namespace

BoxRecall::BoxRecall(QWidget* window) : QObject(window), m_window(window) {
    // The window system's events reach the held window's surface, which a modal box keeps from
    // its widgets; the application sees them first.
    QCoreApplication::instance()->installEventFilter(this);
}

bool BoxRecall::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if ((type == QEvent::FocusIn || type == QEvent::MouseButtonPress) &&
        watched == m_window->windowHandle()) {
        // Once the window system's focus has settled on the held window: Wayland compositors
        // hand the keyboard on only at the request of the window that has it (KWin refused it
        // while a modal box's main window was still taking the focus).
        if (QWidget* box = holdingBox())
            QMetaObject::invokeMethod(
                box, [box] { bringBack(box); }, Qt::QueuedConnection);
    }
    return false;
}

QWidget* BoxRecall::holdingBox() const {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    if (m_window->isEnabled())
        return nullptr;
    // The box it is disabled for: the newest of its own windows not closed, minimised or not.
    const QObjectList& children = m_window->children();
    for (auto child = children.rbegin(); child != children.rend(); ++child) {
        auto* widget = qobject_cast<QWidget*>(*child);
        if (widget != nullptr && widget->isWindow() && !widget->isHidden())
            return widget;
    }
    return nullptr;
}
