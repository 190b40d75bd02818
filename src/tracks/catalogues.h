// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 Lopwinder developers
#pragma once

#include "rom/varianttable.h"

#include <array>
#include <span>
#include <string_view>

// The three track catalogues: the labels every slot list offers, in list order. Only the first two
// characters (the track ID in upper-case hexadecimal) mean anything to the program; the rest is
// display text: name, then vehicle and race class (and, for Zoomlet 2, the setting), all of them
// places, craft and classes of an imaginary world of our own.
namespace catalogues {

using varianttable::Catalogue;

inline constexpr std::array<std::string_view, 50> zoomlet2Labels{{
    "00: Quorell Bend (Skimmerling, Sprig - Vellum Hollow)",
    "01: Fizzell Spiral (Brackwheel, Sprig - Vellum Hollow)",
    "02: Brinell Sweep (Tumblecart, Bough - Vellum Hollow)",
    "03: Oxlell Run (Whirrel, Bough - Vellum Hollow)",
    "04: Marrell Dash (Pipsledge, Canopy - Vellum Hollow)",
    "05: Tansell Rise (Gantrobe, Canopy - Vellum Hollow)",
    "06: Vetchell Reach (Mossrunner, Crown - Vellum Hollow)",
    "07: Plimell Chute (Clatterpod, Crown - Vellum Hollow)",
    "08: Gravell Gully (Skimmerling, Sprig - Vellum Hollow)",
    "09: Skelell Switchback (Brackwheel, Sprig - Quillmere Loft)",
    "0A: Dornell Loop (Tumblecart, Bough - Quillmere Loft)",
    "0B: Wimbell Causeway (Whirrel, Bough - Quillmere Loft)",
    "0C: Yarrell Bend (Pipsledge, Canopy - Quillmere Loft)",
    "0D: Zellell Spiral (Gantrobe, Canopy - Quillmere Loft)",
    "0E: Hummell Sweep (Mossrunner, Crown - Quillmere Loft)",
    "0F: Kestell Run (Clatterpod, Crown - Quillmere Loft)",
    "10: Quorwick Dash (Skimmerling, Sprig - Quillmere Loft)",
    "12: Fizzwick Rise (Brackwheel, Sprig - Quillmere Loft)",
    "13: Brinwick Reach (Tumblecart, Bough - Thistledown Vault)",
    "14: Oxlwick Chute (Whirrel, Bough - Thistledown Vault)",
    "15: Marrwick Gully (Pipsledge, Canopy - Thistledown Vault)",
    "16: Tanswick Switchback (Gantrobe, Canopy - Thistledown Vault)",
    "17: Vetchwick Loop (Mossrunner, Crown - Thistledown Vault)",
    "18: Plimwick Causeway (Clatterpod, Crown - Thistledown Vault)",
    "19: Gravwick Bend (Skimmerling, Sprig - Thistledown Vault)",
    "1A: Skelwick Spiral (Brackwheel, Sprig - Thistledown Vault)",
    "1B: Dornwick Sweep (Tumblecart, Bough - Thistledown Vault)",
    "1C: Wimbwick Run (Whirrel, Bough - Brassfen Attic)",
    "1D: Yarrwick Dash (Pipsledge, Canopy - Brassfen Attic)",
    "1E: Zellwick Rise (Gantrobe, Canopy - Brassfen Attic)",
    "1F: Hummwick Reach (Mossrunner, Crown - Brassfen Attic)",
    "21: Kestwick Chute (Clatterpod, Crown - Brassfen Attic)",
    "22: Quorombe Gully (Skimmerling, Sprig - Brassfen Attic)",
    "23: Fizzombe Switchback (Brackwheel, Sprig - Brassfen Attic)",
    "24: Brinombe Loop (Tumblecart, Bough - Brassfen Attic)",
    "25: Oxlombe Causeway (Whirrel, Bough - Brassfen Attic)",
    "26: Marrombe Bend (Pipsledge, Canopy - Oddlemoor Cellar)",
    "27: Tansombe Spiral (Gantrobe, Canopy - Oddlemoor Cellar)",
    "28: Vetchombe Sweep (Mossrunner, Crown - Oddlemoor Cellar)",
    "29: Plimombe Run (Clatterpod, Crown - Oddlemoor Cellar)",
    "2A: Gravombe Dash (Skimmerling, Sprig - Oddlemoor Cellar)",
    "2B: Skelombe Rise (Brackwheel, Sprig - Oddlemoor Cellar)",
    "2C: Dornombe Reach (Tumblecart, Bough - Oddlemoor Cellar)",
    "2D: Wimbombe Chute (Whirrel, Bough - Oddlemoor Cellar)",
    "2E: Yarrombe Gully (Pipsledge, Canopy - Oddlemoor Cellar)",
    "2F: Zellombe Switchback (Gantrobe, Canopy - Glimwater Reach)",
    "30: Hummombe Loop (Mossrunner, Crown - Glimwater Reach)",
    "31: Kestombe Causeway (Clatterpod, Crown - Glimwater Reach)",
    "32: Quorith Bend (Skimmerling, Sprig - Glimwater Reach)",
    "34: Fizzith Spiral (Brackwheel, Sprig - Glimwater Reach)",
}};

inline constexpr std::array<std::string_view, 56> zoomlet96Labels{{
    "00: Tansith Rise (Skimmerling, Sprig)",         "01: Vetchith Reach (Whirrel, Sprig)",
    "02: Plimith Chute (Mossrunner, Sprig)",         "03: Gravith Gully (Brackwheel, Bough)",
    "04: Skelith Switchback (Pipsledge, Bough)",     "05: Dornith Loop (Clatterpod, Bough)",
    "06: Wimbith Causeway (Tumblecart, Canopy)",     "07: Yarrith Bend (Gantrobe, Canopy)",
    "08: Zellith Spiral (Skimmerling, Canopy)",      "09: Hummith Sweep (Whirrel, Crown)",
    "0A: Kestith Run (Mossrunner, Crown)",           "0B: Quorith Dash (Brackwheel, Crown)",
    "0C: Fizzith Rise (Pipsledge, Sprig)",           "0D: Brinith Reach (Clatterpod, Sprig)",
    "0E: Oxlith Chute (Tumblecart, Sprig)",          "0F: Marrith Gully (Gantrobe, Bough)",
    "10: Tansasp Switchback (Skimmerling, Bough)",   "12: Vetchasp Loop (Whirrel, Bough)",
    "13: Plimasp Causeway (Mossrunner, Canopy)",     "14: Gravasp Bend (Brackwheel, Canopy)",
    "15: Skelasp Spiral (Pipsledge, Canopy)",        "16: Dornasp Sweep (Clatterpod, Crown)",
    "17: Wimbasp Run (Tumblecart, Crown)",           "18: Yarrasp Dash (Gantrobe, Crown)",
    "19: Zellasp Rise (Skimmerling, Sprig)",         "1A: Hummasp Reach (Whirrel, Sprig)",
    "1B: Kestasp Chute (Mossrunner, Sprig)",         "1C: Quorasp Gully (Brackwheel, Bough)",
    "1D: Fizzasp Switchback (Pipsledge, Bough)",     "1E: Brinasp Loop (Clatterpod, Bough)",
    "1F: Oxlasp Causeway (Tumblecart, Canopy)",      "21: Marrasp Bend (Gantrobe, Canopy)",
    "22: Tansorrow Spiral (Skimmerling, Canopy)",    "24: Vetchorrow Sweep (Whirrel, Crown)",
    "25: Plimorrow Run (Mossrunner, Crown)",         "27: Gravorrow Dash (Brackwheel, Crown)",
    "29: Skelorrow Rise (Pipsledge, Sprig)",         "2A: Dornorrow Reach (Clatterpod, Sprig)",
    "2B: Wimborrow Chute (Tumblecart, Sprig)",       "2C: Yarrorrow Gully (Gantrobe, Bough)",
    "2D: Zellorrow Switchback (Skimmerling, Bough)", "2E: Hummorrow Loop (Whirrel, Bough)",
    "2F: Kestorrow Causeway (Mossrunner, Canopy)",   "30: Quororrow Bend (Brackwheel, Canopy)",
    "31: Fizzorrow Spiral (Pipsledge, Canopy)",      "32: Brinorrow Sweep (Clatterpod, Crown)",
    "33: Oxlorrow Run (Tumblecart, Crown)",          "34: Marrorrow Dash (Gantrobe, Crown)",
    "35: Tansidge Rise (Skimmerling, Sprig)",        "36: Vetchidge Reach (Whirrel, Sprig)",
    "3C: Plimidge Chute (Mossrunner, Sprig)",        "3D: Gravidge Gully (Brackwheel, Bough)",
    "3E: Skelidge Switchback (Pipsledge, Bough)",    "3F: Dornidge Loop (Clatterpod, Bough)",
    "40: Wimbidge Causeway (Tumblecart, Canopy)",    "41: Yarridge Bend (Gantrobe, Canopy)",
}};

inline constexpr std::array<std::string_view, 34> zoomletMilitaryLabels{{
    "00: Dornidge Loop (Bulwark Crawler, Picket)",
    "01: Wimbidge Causeway (Thrum Walker, Picket)",
    "02: Yarridge Bend (Girder Skiff, Picket)",
    "03: Zellidge Spiral (Hobnail Rover, Picket)",
    "04: Hummidge Sweep (Ironmoss Tread, Vanguard)",
    "05: Kestidge Run (Bulwark Crawler, Vanguard)",
    "06: Quoridge Dash (Thrum Walker, Vanguard)",
    "07: Fizzidge Rise (Girder Skiff, Vanguard)",
    "08: Brinidge Reach (Hobnail Rover, Bastion)",
    "09: Oxlidge Chute (Ironmoss Tread, Bastion)",
    "0A: Marridge Gully (Bulwark Crawler, Bastion)",
    "0B: Tansidge Switchback (Thrum Walker, Bastion)",
    "0C: Vetchidge Loop (Girder Skiff, Picket)",
    "0D: Plimidge Causeway (Hobnail Rover, Picket)",
    "0E: Gravidge Bend (Ironmoss Tread, Picket)",
    "0F: Skelidge Spiral (Bulwark Crawler, Picket)",
    "10: Dornane Sweep (Thrum Walker, Vanguard)",
    "11: Wimbane Run (Girder Skiff, Vanguard)",
    "12: Yarrane Dash (Hobnail Rover, Vanguard)",
    "13: Zellane Rise (Ironmoss Tread, Vanguard)",
    "14: Hummane Reach (Bulwark Crawler, Bastion)",
    "15: Kestane Chute (Thrum Walker, Bastion)",
    "16: Quorane Gully (Girder Skiff, Bastion)",
    "17: Fizzane Switchback (Hobnail Rover, Bastion)",
    "18: Brinane Loop (Ironmoss Tread, Picket)",
    "19: Oxlane Causeway (Bulwark Crawler, Picket)",
    "1A: Marrane Bend (Thrum Walker, Picket)",
    "1B: Tansane Spiral (Girder Skiff, Picket)",
    "1C: Vetchane Sweep (Hobnail Rover, Vanguard)",
    "1D: Plimane Run (Ironmoss Tread, Vanguard)",
    "40: Gravane Dash (Bulwark Crawler, Vanguard)",
    "41: Skelane Rise (Thrum Walker, Vanguard)",
    "42: Dornell Reach (Girder Skiff, Bastion)",
    "43: Wimbell Chute (Hobnail Rover, Bastion)",
}};

constexpr std::span<const std::string_view> labels(Catalogue catalogue) {
    switch (catalogue) {
    case Catalogue::Zoomlet2:
        return zoomlet2Labels;
    case Catalogue::Zoomlet96:
        return zoomlet96Labels;
    case Catalogue::ZoomletMilitary:
        return zoomletMilitaryLabels;
    }
    return {};
}

// The ID a label starts with, for pre-selection and the checks below; -1 where it starts with no
// two upper-case hexadecimal digits.
constexpr int idOf(std::string_view label) {
    const auto digit = [](char c) {
        return c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
    };
    if (label.size() < 2 || digit(label[0]) < 0 || digit(label[1]) < 0)
        return -1;
    return digit(label[0]) * 16 + digit(label[1]);
}

// Each catalogue lists its IDs once each, in rising order, so that a slot's ID selects one entry;
// every ID a variant's factory order holds is in that variant's catalogue, so that Reset never
// writes an ID its lists cannot show.
static_assert(
    [] {
        for (const varianttable::VariantRow& row : varianttable::rows) {
            if (!row.catalogue)
                continue;
            const auto all = labels(*row.catalogue);
            for (std::size_t j = 0; j < all.size(); ++j) {
                if (idOf(all[j]) < 0 || (j > 0 && idOf(all[j]) <= idOf(all[j - 1])))
                    return false;
            }
            for (const quint8 id : row.factoryOrder) {
                bool listed = false;
                for (const std::string_view label : all)
                    listed = listed || idOf(label) == id;
                if (!listed)
                    return false;
            }
        }
        return true;
    }(),
    "each catalogue lists each ID once, in order, and holds every factory ID of its variants");

} // namespace catalogues
