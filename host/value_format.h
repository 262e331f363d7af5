// Numbers as a surveyor reads them: lengths to the millimetre, angles in gon, decimal
// degrees or degrees-minutes-seconds. Independent of the locale.
#pragma once

#include <string>

#include "host/command_line.h"

namespace m5host {

// Fixed-point text with the given number of decimals ("12.346").
std::string Fixed(double value, int decimals);
// Metres to the millimetre.
std::string FormatLength(double metres);
// An angle given in radians, in the chosen unit: "123.4567" (gon), "111.11100" (deg),
// "111°06'39.6\"" (dms).
std::string FormatAngle(double radians, AngleUnit unit);
// The unit's symbol for column headings: "gon", "°", "dms".
const char* AngleSymbol(AngleUnit unit);

}  // namespace m5host
