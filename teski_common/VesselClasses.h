// The add-on's vessel classes as the host knows them, the name a missile's wreck gets, and the landed
// wreck's physical constants: shared by both plug-ins, the planner and the benchmarks.
#pragma once

#include <string_view>

// Class names of the two vessels, as the host's class configuration knows them.
inline constexpr const char* TeskiClassName = "Teski";
inline constexpr const char* TeskiWreckClassName = "TeskiWreck";

// How a ship of each class ends its header line in a scenario's ship list ("NAME:CLASS").
inline constexpr char TeskiShipTag[] = ":Teski";
inline constexpr char TeskiWreckShipTag[] = ":TeskiWreck";
static_assert(std::string_view(TeskiShipTag).substr(1) == TeskiClassName);
static_assert(std::string_view(TeskiWreckShipTag).substr(1) == TeskiWreckClassName);

// A missile's wreck is named after it with this suffix ("M1" gives "M1-Wreck").
inline constexpr char WreckNameSuffix[] = "-Wreck";

// A wreck on the ground must not move again: heavy, and with a drag far beyond any flying body's.
inline constexpr double LandedWreckEmptyMass = 100000;     // kg
inline constexpr double LandedWreckDragCoefficient = 2500; // cw in all four directions of the host's SetCW
