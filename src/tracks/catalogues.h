#pragma once

#include <array>
#include <span>
#include <string_view>

// The three track catalogues: the labels every slot list offers, in list order. Only the first two
// characters (the track ID in upper-case hexadecimal) mean anything to the program; the rest is
// display text: name, then vehicle and race class (and, for Zoomlet 2, the setting).
namespace catalogues {

enum class Catalogue { Zoomlet2, Zoomlet96, ZoomletMilitary };

inline constexpr std::array<std::string_view, 50> zoomlet2Labels{{
    "00: Cereal Sprint (Sports Cars, Novice - Kitchen Table)",
    "01: Toast Rack Run (Monster Trucks, Novice - Kitchen Table)",
    "02: Sugar Bowl Loop (Speedboats, Novice - Kitchen Table)",
    "03: Napkin Dash (Turbo Wheels, Amateur - Kitchen Table)",
    "04: Jam Jar Jump (Formula Ones, Amateur - Kitchen Table)",
    "05: Spoon Slalom (Hovercraft, Amateur - Kitchen Table)",
    "06: Lily Pad Leap (Tanks, Pro - Garden Pond)",
    "07: Gnome Garden Grind (Rally Cars, Pro - Garden)",
    "08: Pebble Path (Warriors, Pro - Garden)",
    "09: Bucket Bend (Go-Karts, Elite - Sandpit)",
    "0A: Sandcastle Circuit (Sports Cars, Elite - Sandpit)",
    "0B: Spade Straight (Monster Trucks, Elite - Sandpit)",
    "0C: Cue Ball Chase (Speedboats, Novice - Pool Table)",
    "0D: Pocket Plunge (Turbo Wheels, Novice - Pool Table)",
    "0E: Chalk Chicane (Formula Ones, Novice - Pool Table)",
    "0F: Rubber Duck Rapids (Hovercraft, Amateur - Bathtub)",
    "10: Soap Suds Spin (Tanks, Amateur - Bathtub)",
    "12: Plughole Pass (Rally Cars, Amateur - Bathtub)",
    "13: Dusty Rafters (Warriors, Pro - Attic)",
    "14: Trunk Tumble (Go-Karts, Pro - Attic)",
    "15: Cobweb Corner (Sports Cars, Pro - Attic)",
    "16: Spanner Sprint (Monster Trucks, Elite - Garage Bench)",
    "17: Vice Versa (Speedboats, Elite - Garage Bench)",
    "18: Oil Can Oval (Turbo Wheels, Elite - Garage Bench)",
    "19: Pencil Pile-Up (Formula Ones, Novice - School Desk)",
    "1A: Eraser Esses (Hovercraft, Novice - School Desk)",
    "1B: Ruler Run (Tanks, Novice - School Desk)",
    "1C: Treehouse Trail (Rally Cars, Amateur - Back Garden)",
    "1D: Acorn Alley (Warriors, Amateur - Back Garden)",
    "1E: Birdbath Bounce (Go-Karts, Amateur - Back Garden)",
    "1F: Pillow Fort Flyer (Sports Cars, Pro - Bedroom)",
    "21: Duvet Drift (Monster Trucks, Pro - Bedroom)",
    "22: Teddy Turn (Speedboats, Pro - Bedroom)",
    "23: Cushion Climb (Turbo Wheels, Elite - Living Room)",
    "24: Remote Rally (Formula Ones, Elite - Living Room)",
    "25: Popcorn Pit (Hovercraft, Elite - Living Room)",
    "26: Shelf Shuffle (Tanks, Novice - Bookshelf)",
    "27: Bookend Blast (Rally Cars, Novice - Bookshelf)",
    "28: Snow Globe Slide (Warriors, Novice - Winter Lawn)",
    "29: Frosty Fence (Go-Karts, Amateur - Winter Lawn)",
    "2A: Sledge Sweep (Sports Cars, Amateur - Winter Lawn)",
    "2B: Rock Pool Rush (Monster Trucks, Amateur - Beach)",
    "2C: Crab Claw Curve (Speedboats, Pro - Beach)",
    "2D: Shell Shock Straight (Turbo Wheels, Pro - Beach)",
    "2E: Cake Tin Canyon (Formula Ones, Pro - Bakery)",
    "2F: Whisk Whirl (Hovercraft, Elite - Bakery)",
    "30: Flour Flats (Tanks, Elite - Bakery)",
    "31: Gravy Boat Grand Prix (Rally Cars, Elite - Dining Table)",
    "32: Sink Surfer (Warriors, Novice - Kitchen Sink)",
    "34: Champion's Cup Finale (Go-Karts, Novice - Trophy Room)",
}};

inline constexpr std::array<std::string_view, 56> zoomlet96Labels{{
    "00: Breakfast Blitz (Sports Cars, Novice)",
    "01: Marmalade Mile (Monster Trucks, Novice)",
    "02: Teapot Turn (Speedboats, Novice)",
    "03: Saucer Skid (Formula Ones, Novice)",
    "04: Pond Skimmer (Hovercraft, Amateur)",
    "05: Reed Run (Tanks, Amateur)",
    "06: Frog Hop (Turbo Wheels, Amateur)",
    "07: Hose Pipe Hustle (Rally Cars, Amateur)",
    "08: Compost Crawl (4x4s, Pro)",
    "09: Sandbox Scramble (Choppers, Pro)",
    "0A: Dune Dash (Micro Bikes, Pro)",
    "0B: Break Shot (Sports Cars, Pro)",
    "0C: Cushion Kick (Monster Trucks, Elite)",
    "0D: Bubble Bath Bash (Speedboats, Elite)",
    "0E: Tap Turn (Formula Ones, Elite)",
    "0F: Loft Loop (Hovercraft, Elite)",
    "10: Box Pile Bend (Tanks, Novice)",
    "12: Toolbox Trek (Turbo Wheels, Novice)",
    "13: Nail Jar Nudge (Rally Cars, Novice)",
    "14: Homework Hurry (4x4s, Novice)",
    "15: Glue Pot Gulch (Choppers, Amateur)",
    "16: Crayon Corkscrew (Micro Bikes, Amateur)",
    "17: Tree Root Twist (Sports Cars, Amateur)",
    "18: Swing Seat Swoop (Monster Trucks, Amateur)",
    "19: Bunk Bed Bounce (Speedboats, Pro)",
    "1A: Toy Box Tumble (Formula Ones, Pro)",
    "1B: Sofa Summit (Hovercraft, Pro)",
    "1C: Rug Rumble (Tanks, Pro)",
    "1D: Fireplace Fling (Turbo Wheels, Elite)",
    "1E: Icicle Ice Rink (Rally Cars, Elite)",
    "1F: Snowman Swerve (4x4s, Elite)",
    "21: Tide Line Tear (Choppers, Elite)",
    "22: Seaweed Skid (Micro Bikes, Novice)",
    "24: Pier Pressure (Sports Cars, Novice)",
    "25: Oven Glove Oval (Monster Trucks, Novice)",
    "27: Rolling Pin Rush (Speedboats, Novice)",
    "29: Biscuit Barrel Bend (Formula Ones, Amateur)",
    "2A: Cutlery Drawer Dash (Hovercraft, Amateur)",
    "2B: Fruit Bowl Flyer (Tanks, Amateur)",
    "2C: Window Sill Sprint (Turbo Wheels, Amateur)",
    "2D: Lamp Shade Loop (Rally Cars, Pro)",
    "2E: Stair Rod Straight (4x4s, Pro)",
    "2F: Banister Bomb (Choppers, Pro)",
    "30: Wardrobe Wander (Micro Bikes, Pro)",
    "31: Mirror Maze (Sports Cars, Elite)",
    "32: Flower Bed Fury (Monster Trucks, Elite)",
    "33: Wheelbarrow Whirl (Speedboats, Elite)",
    "34: Shed Roof Run (Formula Ones, Elite)",
    "35: Paddling Pool Plunge (Hovercraft, Novice)",
    "36: Rain Gutter Rush (Tanks, Novice)",
    "3C: Bonus Bowl (Turbo Wheels, Novice)",
    "3D: Attic Arena (Rally Cars, Novice)",
    "3E: Garage Gauntlet (4x4s, Amateur)",
    "3F: Champion's Circuit (Choppers, Amateur)",
    "40: Grand Final (Micro Bikes, Amateur)",
    "41: Victory Lap (Sports Cars, Amateur)",
}};

inline constexpr std::array<std::string_view, 34> zoomletMilitaryLabels{{
    "00: Boot Camp Dash (Jeeps, Novice)",
    "01: Sandbag Slalom (Tanks, Novice)",
    "02: Trench Trundle (Gunboats, Novice)",
    "03: Barracks Bend (Choppers, Amateur)",
    "04: Mess Hall Mayhem (Half-Tracks, Amateur)",
    "05: Parade Ground Sprint (Hovercraft, Amateur)",
    "06: Radar Dish Run (Armoured Cars, Pro)",
    "07: Bunker Blast (Quad Bikes, Pro)",
    "08: Jungle Patrol (Jeeps, Pro)",
    "09: Swamp Crossing (Tanks, Elite)",
    "0A: Rope Bridge Rush (Gunboats, Elite)",
    "0B: Desert Convoy (Choppers, Elite)",
    "0C: Oasis Outpost (Half-Tracks, Novice)",
    "0D: Dune Ridge (Hovercraft, Novice)",
    "0E: Airfield Approach (Armoured Cars, Novice)",
    "0F: Hangar Hustle (Quad Bikes, Amateur)",
    "10: Runway Rumble (Jeeps, Amateur)",
    "11: Dockyard Drift (Tanks, Amateur)",
    "12: Pontoon Pass (Gunboats, Pro)",
    "13: Harbour Dash (Choppers, Pro)",
    "14: Mountain Pass (Half-Tracks, Pro)",
    "15: Snowfield Strike (Hovercraft, Elite)",
    "16: Glacier Gully (Armoured Cars, Elite)",
    "17: Canyon Run (Quad Bikes, Elite)",
    "18: Quarry Quickstep (Jeeps, Novice)",
    "19: Supply Line (Tanks, Novice)",
    "1A: River Ford (Gunboats, Novice)",
    "1B: Forest Firebreak (Choppers, Amateur)",
    "1C: Night Manoeuvres (Half-Tracks, Amateur)",
    "1D: Command Post (Hovercraft, Amateur)",
    "40: Armoury Arena (Armoured Cars, Pro)",
    "41: War Room Rally (Quad Bikes, Pro)",
    "42: Medal Parade (Jeeps, Pro)",
    "43: Final Offensive (Tanks, Elite)",
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

} // namespace catalogues
