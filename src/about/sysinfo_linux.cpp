// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "about/sysinfo.h"

#include <QFileInfo>
#include <QProcess>

namespace sysinfo {

bool systemPlainFileExists(const std::string& path) {
    const QFileInfo info(QString::fromLocal8Bit(path.c_str()));
    return info.isFile() && !info.isHidden();
}

bool systemLaunch(const std::string& commandLine) {
    // The text names the program itself; no shell ever sees it.
    return !commandLine.empty() &&
           QProcess::startDetached(QString::fromLocal8Bit(commandLine.c_str()), {});
}

} // namespace sysinfo
