// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#pragma once

// The games and cartridge revisions that identification tells apart. A file that is none of them
// has no variant (std::nullopt), and is refused. What the program knows of each is in
// rom/varianttable.h.
enum class RomVariant {
    Zoomlet1E,
    Zoomlet1U,
    Zoomlet2,
    Zoomlet2JCart,
    Zoomlet96,
    Zoomlet96JCart,
    ZoomletMilitary,
};
