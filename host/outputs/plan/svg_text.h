// Text and numbers as the plan's SVG writes them.
#pragma once

#include <string>

#include "host/outputs/xml_text.h"

namespace m5host {

// The width of a sans-serif digit or capital at the plan's text size (11 units), to spare.
constexpr double kCharWidth = 7.2;

// A drawing coordinate, to a tenth of a unit.
std::string Number(double value);
// How wide a text runs at the plan's text size.
double TextWidth(const std::string& utf8);

}  // namespace m5host
