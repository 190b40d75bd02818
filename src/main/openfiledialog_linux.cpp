// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "main/openfiledialog.h"

#include <QFileDialog>

// Qt's own dialog; its history has nowhere to go (see keepNoSettings).
QString openFileName(const OpenFileRequest& request, QWidget* owner) {
    QFileDialog dialog(owner, request.title);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    // Qt's form, "Name (*.a *.b)"; only the name is shown, which names the patterns already.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilter(
        QStringLiteral("%1 (%2)").arg(request.filterName, request.patterns.join(QLatin1Char(' '))));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}
