// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#pragma once

#include "about/sysinfo.h"
#include "app/prompter.h"

// The System Info button: starts the tool, or tells the user it is unavailable.
void StartSysInfo(sysinfo::Platform& platform, Prompter& prompter);
