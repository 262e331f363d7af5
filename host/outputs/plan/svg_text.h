// Text and numbers as the plan's SVG writes them.
#pragma once

#include <string>

namespace m5host {

// The width of a sans-serif digit or capital at the plan's text size (11 units), to spare.
constexpr double kCharWidth = 7.2;

// Text for XML: entities escaped, control characters as spaces, and bytes that are not
// UTF-8 (a path may hold any) replaced, so the file always parses.
std::string Xml(const std::string& utf8);
// A drawing coordinate, to a tenth of a unit.
std::string Number(double value);
// How wide a text runs at the plan's text size.
double TextWidth(const std::string& utf8);

}  // namespace m5host
