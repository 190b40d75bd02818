// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#pragma once

#include "app/prompter.h"

// Ends the program: leaves the event loop, or tells main() not to enter it.
class QtLifetime final : public Lifetime {
public:
    void endProgram() override;
    bool ended() const { return m_ended; }

private:
    bool m_ended = false;
};
