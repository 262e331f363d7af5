// Numbers as a surveyor reads them: lengths to the millimetre in metres or feet, angles in
// gon, decimal degrees, degrees-minutes-seconds or radians. Independent of the locale.
#pragma once

#include <string>

#include "host/outputs/output_options.h"

namespace m5host {

// Fixed-point text with the given number of decimals ("12.346").
std::string Fixed(double value, int decimals);
// A length given in metres, in the chosen unit.
double ConvertLength(double metres, LengthUnit unit);
// How many metres one of the unit is (1, 0.3048, 1200/3937).
double MetresPerUnit(LengthUnit unit);
// A length given in metres, in the chosen unit to the thousandth ("12.346").
std::string FormatLength(double metres, LengthUnit unit);
// Numbers for the files other programs read: each quantity to the decimals of its unit,
// finer than any instrument reads it, trailing zeros dropped ("18", "57.127"), so a
// conversion's binary noise is not written.
//
// A length given in metres, in the chosen unit to 5 decimals (0.01 mm, a digital level's
// reading).
std::string LengthText(double metres, LengthUnit unit);
// The same for a length already in its unit (a drawing's coordinates).
std::string ConvertedLengthText(double length);
// Temperature (°C) and pressure (hPa) to 2 decimals.
std::string AirText(double value);
// Longitude or latitude in degrees to 9 decimals, 0.1 mm on the ground.
std::string DegreesText(double degrees);
// The unit's symbol: "m", "ft", "usft".
const char* LengthSymbol(LengthUnit unit);

// An angle given in radians, in the chosen unit: "123.4567" (gon), "111.11100" (deg),
// "111°06'39.6\"" (dms), "1.745329" (rad).
std::string FormatAngle(double radians, AngleUnit unit);
// An angle given in radians, in the chosen unit: gon and degrees to 6 decimals, radians to 8
// (all finer than 0.01"), DMS to the tenth of a second, its own resolution.
std::string AngleText(double radians, AngleUnit unit);
// The unit's symbol for column headings: "gon", "°", "dms", "rad".
const char* AngleSymbol(AngleUnit unit);
// The unit's name in machine-read headings and keys: "gon", "deg", "dms", "rad".
const char* AngleKey(AngleUnit unit);

}  // namespace m5host
