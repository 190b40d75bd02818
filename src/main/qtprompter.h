// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#pragma once

#include "app/prompter.h"

// Modal message boxes from Qt, and the platform's Open dialog. A box asked for while its owner
// is still hidden (start-up's refusals) belongs to no window; the Open dialog is its owner's
// child either way.
class QtPrompter final : public Prompter {
public:
    QString askOpenFile(const OpenFileRequest& request, QObject* owner) override;
    Answer message(const Message& message, QObject* owner) override;
};
