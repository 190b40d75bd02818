// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "app/prompter.h"

#include "app/appidentity.h"

QString Message::shownTitle() const {
    return title.isEmpty() ? QString::fromLatin1(appidentity::title) : title;
}

QStringList OpenFileRequest::qtNameFilters() const {
    QStringList filters;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString patterns = parts[i + 1].split(QLatin1Char(';')).join(QLatin1Char(' '));
        filters << QStringLiteral("%1 (%2)").arg(parts[i], patterns);
    }
    return filters;
}
