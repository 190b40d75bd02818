// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/prompter.h"

// Modal message boxes from Qt, and the platform's Open dialog.
class QtPrompter final : public Prompter {
public:
    QString askOpenFile(const OpenFileRequest& request) override;
    Answer message(const Message& message) override;
};

// Ends the program: leaves the event loop, or tells main() not to enter it.
class QtLifetime final : public Lifetime {
public:
    void endProgram() override;
    bool ended() const { return m_ended; }

private:
    bool m_ended = false;
};
