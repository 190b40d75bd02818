// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "main/openfiledialog.h"

#include <QWidget>

#include <windows.h>

#include <commdlg.h>

#include <string>
#include <vector>

// The system's own Open dialog. Qt's would record its own folder history in the registry under the
// program's name, and even reading that history creates keys there; this one writes nothing of the
// program's (Windows itself may remember the folder last opened, as it does for every program).
QString openFileName(const OpenFileRequest& request, QWidget* owner) {
    // The dialog's form: name and patterns ("*.a;*.b"), each ended by a NUL, and one more NUL.
    std::wstring filter = request.filterName.toStdWString() + L'\0' +
                          request.patterns.join(QLatin1Char(';')).toStdWString() + L'\0';
    const std::wstring title = request.title.toStdWString();
    std::vector<wchar_t> file(32768, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    // Only a window already on screen can own it; at start-up there is none yet.
    dialog.hwndOwner =
        owner && owner->isVisible() ? reinterpret_cast<HWND>(owner->window()->winId()) : nullptr;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrTitle = title.c_str();
    // No check that a typed name exists: the caller reports a missing file itself.
    dialog.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_DONTADDTORECENT;
    if (!GetOpenFileNameW(&dialog))
        return {};
    return QString::fromWCharArray(file.data());
}
