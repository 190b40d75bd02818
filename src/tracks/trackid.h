// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <optional>
#include <string>
#include <vector>

// Track IDs as the slot lists carry them: the first two characters of a label.
namespace trackid {

// "00" to "FF": upper case, a leading zero below 0x10.
QString text(quint8 id);

// The number in the first two characters of a label read as hexadecimal; nullopt when they hold
// no hexadecimal digit (an empty list text, for one).
std::optional<quint8> fromLabel(const QString& label);

struct SlotString {
    std::string bytes;                  // one byte per slot, slot 1 first
    std::vector<int> slotsWithoutTrack; // level slot numbers (from 1) with no track chosen
    bool complete() const { return slotsWithoutTrack.empty(); }
};

// The slot string for the lists' current texts, slot 1 first.
SlotString slotStringFromLabels(const QStringList& currentTexts);

} // namespace trackid
