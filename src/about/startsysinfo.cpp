// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "about/startsysinfo.h"

void StartSysInfo(sysinfo::Platform& platform, Prompter& prompter) {
    if (sysinfo::launchSysInfo(platform))
        return;
    prompter.message({QStringLiteral("System Information Is Unavailable At This Time"),
                      MessageIcon::None,
                      MessageButtons::Ok,
                      {}});
}
