// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "about/sysinfotool.h"

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

namespace {

// The first of the desktops' system information programs found on PATH, started detached and
// without a shell.
class DesktopSystemInfo final : public SystemInfoTool {
public:
    bool start() override {
        for (const char* tool : {"hardinfo", "kinfocenter", "gnome-system-monitor",
                                 "mate-system-monitor", "xfce4-taskmanager"}) {
            const QString path = QStandardPaths::findExecutable(QString::fromLatin1(tool));
            if (!path.isEmpty())
                return QProcess::startDetached(path, {});
        }
        return false;
    }
};

} // namespace

std::unique_ptr<SystemInfoTool> createSystemInfoTool() {
    return std::make_unique<DesktopSystemInfo>();
}
