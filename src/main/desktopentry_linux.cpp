// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "main/desktopentry.h"

#include "app/appversion.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QIcon>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

// Qt names the entry to Wayland compositors, but under X11 gives only WM_CLASS ("lopwinder",
// "Lopwinder"), which matches no entry: each window is given the two properties by which GNOME
// (_GTK_APPLICATION_ID) and Plasma (_KDE_NET_WM_DESKTOP_FILE) find it, before it is mapped.
class X11EntryNamer final : public QObject {
public:
    X11EntryNamer(xcb_connection_t* connection, QObject* parent)
        : QObject(parent), m_connection(connection) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Show && widget != nullptr && widget->isWindow())
            name(static_cast<xcb_window_t>(widget->winId()));
        return false;
    }

private:
    void name(xcb_window_t window) {
        const xcb_atom_t utf8 = atom("UTF8_STRING");
        for (const char* property : {"_GTK_APPLICATION_ID", "_KDE_NET_WM_DESKTOP_FILE"}) {
            xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, window, atom(property), utf8,
                                8, static_cast<uint32_t>(std::strlen(appversion::desktopEntry)),
                                appversion::desktopEntry);
        }
        xcb_flush(m_connection);
    }

    xcb_atom_t atom(const char* name) {
        const xcb_intern_atom_cookie_t cookie =
            xcb_intern_atom(m_connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
        // xcb's replies are the caller's, freed with free().
        const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
            xcb_intern_atom_reply(m_connection, cookie, nullptr), &std::free);
        return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    }

    xcb_connection_t* m_connection;
};

} // namespace

void nameDesktopEntry(QApplication& app) {
    QGuiApplication::setDesktopFileName(QString::fromLatin1(appversion::desktopEntry));
    // The installed entry's icons, each size drawn for itself, built in.
    QIcon icon;
    for (const QFileInfo& file : QDir(QStringLiteral(":/icons")).entryInfoList())
        icon.addFile(file.filePath());
    QApplication::setWindowIcon(icon);
    if (auto* x11 = app.nativeInterface<QNativeInterface::QX11Application>())
        app.installEventFilter(new X11EntryNamer(x11->connection(), &app));
}
