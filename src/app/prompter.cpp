// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "app/prompter.h"

#include "app/appidentity.h"

QString Message::shownTitle() const {
    return title.isEmpty() ? QString::fromLatin1(appidentity::title) : title;
}
