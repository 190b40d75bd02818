// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#pragma once

#include "app/prompter.h"

class QWidget;

// Modal message boxes from Qt, and the platform's Open dialog.
class QtPrompter final : public Prompter {
public:
    // The window the dialog and the boxes belong to, so that every window system keeps them above
    // it and opens them over it. Boxes shown while it is still hidden (start-up's refusals) have
    // no owner; the Open dialog is its child either way.
    void setOwner(QWidget* owner) { m_owner = owner; }

    QString askOpenFile(const OpenFileRequest& request) override;
    Answer message(const Message& message) override;

private:
    QWidget* m_owner = nullptr;
};
