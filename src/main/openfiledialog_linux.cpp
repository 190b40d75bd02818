// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "main/openfiledialog.h"

#include <QFileDialog>

// Qt's own dialog; its history has nowhere to go (see keepNoSettings).
QString openFileName(const OpenFileRequest& request, QWidget* owner) {
    QFileDialog dialog(owner, request.title);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    // Show only the description; the patterns are in it already for the first entry.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    const QStringList filters = request.qtNameFilters();
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters[request.filterIndex - 1]);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}
