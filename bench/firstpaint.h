#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

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
