// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#pragma once

#include <QAbstractItemView>
#include <QComboBox>
#include <QWheelEvent>

// A pick-only slot list. It is narrower than many labels in a wide face, so its pop-up is widened
// to show them whole, measured when it first opens rather than at start-up, and its tool tip shows
// the chosen label whole (assistive tools keep reading the list's own description).
class SlotList final : public QComboBox {
public:
    explicit SlotList(QWidget* parent) : QComboBox(parent) {
        // A combo box takes the focus from a passing wheel by default, and then its track with it.
        setFocusPolicy(Qt::StrongFocus);
        connect(this, &QComboBox::currentTextChanged, this, &QWidget::setToolTip);
    }

    void showPopup() override {
        if (view()->minimumWidth() == 0)
            view()->setMinimumWidth(view()->sizeHintForColumn(0) + 24);
        QComboBox::showPopup();
    }

protected:
    // A wheel turned over the window must not change a track the user is not editing.
    void wheelEvent(QWheelEvent* event) override {
        if (hasFocus())
            QComboBox::wheelEvent(event);
        else
            event->ignore();
    }
};
