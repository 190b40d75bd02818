// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
// Qt 6.8 declares QApplication::styleSheet() whatever its features, and its Windows 11 style asks
// for it, but a Qt built without style sheets (the Windows program's, kept small) leaves it
// undefined. Without style sheets an application has none.
#include <QApplication>

#if !QT_CONFIG(style_stylesheet)
QString QApplication::styleSheet() const {
    return {};
}
#endif
