// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#pragma once

#include <QObject>

class QWidget;

// While a box holds window (a modal box, or a box of its own it is disabled for, as under the
// About box), activating or clicking window brings that box back, as Windows does: shown if
// minimised, raised, and given the keyboard. Elsewhere a click on the held window would take the
// keyboard from the box, and a minimised box would leave nothing to click. Owned by window.
class BoxRecall final : public QObject {
public:
    explicit BoxRecall(QWidget* window);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* holdingBox() const;

    QWidget* m_window;
};
