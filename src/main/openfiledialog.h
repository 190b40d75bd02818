// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#pragma once

#include "app/prompter.h"

class QWidget;

// The platform's modal Open dialog, belonging to owner (may be null, or not yet shown): the chosen
// file's full path, or empty text after Cancel. A typed name need not exist. The dialog leaves no
// settings behind.
QString openFileName(const OpenFileRequest& request, QWidget* owner);
