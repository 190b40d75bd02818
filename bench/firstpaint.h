// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include <cstdio>
#include <functional>

// Runs then() once the watched window has painted for the first time: the moment a user sees it.
class FirstPaint final : public QObject {
public:
    explicit FirstPaint(QObject* window, std::function<void()> then) : m_then(std::move(then)) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && m_then) {
            auto then = std::move(m_then);
            m_then = nullptr;
            QMetaObject::invokeMethod(this, then, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_then;
};

// Tells the timing script, through standard output, the moment the window is on the screen; the
// time the program then takes to end is not start-up.
inline void announcePainted() {
    std::puts("painted");
    std::fflush(stdout);
}
