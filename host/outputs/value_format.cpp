#include "host/outputs/value_format.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace m5host {

namespace {

constexpr double kPi = 3.14159265358979323846;

struct LengthRow {
  LengthUnit unit;
  const char* symbol;
  double metres;  // of one unit
};
constexpr LengthRow kLengthUnits[] = {{LengthUnit::Metre, "m", 1.0},
                                      {LengthUnit::Foot, "ft", 0.3048},
                                      {LengthUnit::UsSurveyFoot, "usft", 1200.0 / 3937.0}};

// Decimals of the numbers other programs read.
constexpr int kLengthDecimals = 5;
constexpr int kGonDecimals = 6;
constexpr int kDegreeDecimals = 6;
constexpr int kRadianDecimals = 8;
constexpr int kAirDecimals = 2;

const LengthRow& RowOf(LengthUnit unit) {
  for (const LengthRow& row : kLengthUnits) {
    if (row.unit == unit) {
      return row;
    }
  }
  return kLengthUnits[0];
}

}  // namespace

std::string Fixed(double value, int decimals) {
  if (!std::isfinite(value)) {
    return "?";
  }
  char buffer[400];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  std::string text(buffer, result.ptr);
  // Rounding can leave a minus sign on zero: "-0.000" reads as a negative value.
  if (text.find_first_not_of("-0.") == std::string::npos && text[0] == '-') {
    text.erase(0, 1);
  }
  return text;
}

namespace {

// Fixed decimals without the zeros that end them: "18", "57.127".
std::string Trimmed(double value, int decimals) {
  std::string text = Fixed(value, decimals);
  if (text.find('.') != std::string::npos) {
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') {
      text.pop_back();
    }
  }
  return text;
}

}  // namespace

double ConvertLength(double metres, LengthUnit unit) {
  const double perUnit = RowOf(unit).metres;
  return perUnit == 1.0 ? metres : metres / perUnit;
}

double MetresPerUnit(LengthUnit unit) {
  return RowOf(unit).metres;
}

std::string FormatLength(double metres, LengthUnit unit) {
  return Fixed(ConvertLength(metres, unit), 3);
}

std::string LengthText(double metres, LengthUnit unit) {
  return ConvertedLengthText(ConvertLength(metres, unit));
}

std::string ConvertedLengthText(double length) {
  return Trimmed(length, kLengthDecimals);
}

std::string DegreesText(double degrees) {
  return Trimmed(degrees, 9);
}

std::string AirText(double value) {
  return Trimmed(value, kAirDecimals);
}

const char* LengthSymbol(LengthUnit unit) {
  return RowOf(unit).symbol;
}

std::string FormatAngle(double radians, AngleUnit unit) {
  switch (unit) {
    case AngleUnit::Gon:
      return Fixed(radians * 200.0 / kPi, 4);
    case AngleUnit::Degrees:
      return Fixed(radians * 180.0 / kPi, 5);
    case AngleUnit::Radians:
      return Fixed(radians, 6);
    case AngleUnit::Dms:
      break;
  }
  if (!std::isfinite(radians) || std::fabs(radians) > 1e9) {
    return Fixed(radians * 180.0 / kPi, 5);  // no sensible sexagesimal form
  }
  // Whole tenths of an arc-second first, so that 59.96" rounds up into the next minute.
  const double degrees = std::fabs(radians) * 180.0 / kPi;
  const auto tenths = static_cast<long long>(std::llround(degrees * 36000.0));
  const long long d = tenths / 36000;
  const long long m = tenths / 600 % 60;
  const long long s = tenths % 600;
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%s%lld°%02lld'%02lld.%lld\"",
                radians < 0 && tenths != 0 ? "-" : "", d, m, s / 10, s % 10);
  return buffer;
}

const char* AngleSymbol(AngleUnit unit) {
  switch (unit) {
    case AngleUnit::Gon:
      return "gon";
    case AngleUnit::Degrees:
      return "°";
    case AngleUnit::Dms:
      return "dms";
    case AngleUnit::Radians:
      return "rad";
  }
  return "";
}

const char* AngleKey(AngleUnit unit) {
  return unit == AngleUnit::Degrees ? "deg" : AngleSymbol(unit);
}

std::string AngleText(double radians, AngleUnit unit) {
  switch (unit) {
    case AngleUnit::Gon:
      return Trimmed(radians * 200.0 / kPi, kGonDecimals);
    case AngleUnit::Degrees:
      return Trimmed(radians * 180.0 / kPi, kDegreeDecimals);
    case AngleUnit::Radians:
      return Trimmed(radians, kRadianDecimals);
    case AngleUnit::Dms:
      break;
  }
  return FormatAngle(radians, unit);
}

}  // namespace m5host
