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
#include <iterator>
#include <memory>

namespace {

// Qt names the entry to Wayland compositors, but under X11 gives only WM_CLASS ("lopwinder",
// "Lopwinder"), which matches no entry: each window is given the two properties by which GNOME
// (_GTK_APPLICATION_ID) and Plasma (_KDE_NET_WM_DESKTOP_FILE) find it, before it is mapped.
class X11EntryNamer final : public QObject {
public:
    X11EntryNamer(xcb_connection_t* connection, QObject* parent)
        : QObject(parent), m_connection(connection) {
        // Asked once, all three in one round trip.
        xcb_intern_atom_cookie_t cookies[std::size(atomNames)];
        for (std::size_t i = 0; i < std::size(atomNames); ++i) {
            cookies[i] = xcb_intern_atom(
                connection, 0, static_cast<uint16_t>(std::strlen(atomNames[i])), atomNames[i]);
        }
        for (std::size_t i = 0; i < std::size(atomNames); ++i) {
            // xcb's replies are the caller's, freed with free().
            const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
                xcb_intern_atom_reply(connection, cookies[i], nullptr), &std::free);
            m_atoms[i] = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
        }
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Show && widget != nullptr && widget->isWindow())
            name(static_cast<xcb_window_t>(widget->winId()));
        return false;
    }

private:
    static constexpr const char* atomNames[] = {"UTF8_STRING", "_GTK_APPLICATION_ID",
                                                "_KDE_NET_WM_DESKTOP_FILE"};

    void name(xcb_window_t window) {
        for (const xcb_atom_t property : {m_atoms[1], m_atoms[2]}) {
            xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, window, property, m_atoms[0],
                                8, static_cast<uint32_t>(std::strlen(appversion::desktopEntry)),
                                appversion::desktopEntry);
        }
        xcb_flush(m_connection);
    }

    xcb_connection_t* m_connection;
    xcb_atom_t m_atoms[std::size(atomNames)]{};
};

} // namespace

void nameDesktopEntry(QApplication& app) {
    QGuiApplication::setDesktopFileName(QString::fromLatin1(appversion::desktopEntry));
    // The installed entry's icons, each size drawn for itself, built in.
    QIcon icon;
    for (const QFileInfo& file : QDir(QStringLiteral(":/icons")).entryInfoList())
        icon.addFile(file.filePath());
    QApplication::setWindowIcon(icon);
    // Other platforms may offer the interface too (offscreen does), without a connection.
    auto* x11 = app.nativeInterface<QNativeInterface::QX11Application>();
    if (x11 != nullptr && x11->connection() != nullptr)
        app.installEventFilter(new X11EntryNamer(x11->connection(), &app));
}
