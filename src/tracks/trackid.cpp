// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#include "tracks/trackid.h"

#include "app/hexbyte.h"

namespace trackid {

QString text(quint8 id) {
    return QString::fromLatin1(hexByte(id));
}

std::optional<quint8> fromLabel(const QString& label) {
    int value = 0;
    int digits = 0;
    for (const QChar c : label.left(2)) {
        const int digit = c.isDigit() && c.unicode() < 128                 ? c.unicode() - '0'
                          : c >= QLatin1Char('A') && c <= QLatin1Char('F') ? c.unicode() - 'A' + 10
                          : c >= QLatin1Char('a') && c <= QLatin1Char('f') ? c.unicode() - 'a' + 10
                                                                           : -1;
        if (digit < 0)
            break;
        value = value * 16 + digit;
        ++digits;
    }
    if (digits == 0)
        return std::nullopt;
    return static_cast<quint8>(value);
}

SlotString slotStringFromLabels(const QStringList& currentTexts) {
    SlotString result;
    for (qsizetype i = 0; i < currentTexts.size(); ++i) {
        if (const std::optional<quint8> id = fromLabel(currentTexts[i]))
            result.bytes.push_back(static_cast<char>(*id));
        else
            result.slotsWithoutTrack.push_back(static_cast<int>(i) + 1);
    }
    return result;
}

} // namespace trackid
