// The host's units: what each unit code of the M5 unit table means here, and how a value
// text becomes a number in the host's base units (metres, radians, hPa, °C).
#pragma once

#include <optional>
#include <string_view>

#include "host/sinks/unit_table.h"

namespace m5host {

const char* QuantityName(Quantity quantity);

// The whole text as a plain decimal number: optional sign, digits with at most one point
// (at least one digit), optional exponent, nothing else. Independent of the locale.
std::optional<double> ParseDecimal(std::wstring_view text);

// How minutes and seconds may be written: as an angle has them (one or two digits below
// 60), or as any run of digits, for a host that shows whatever the file holds.
enum class DmsFields { Sexagesimal, AnyDigits };

// Degrees, minutes, seconds and a decimal fraction of the seconds, separated by points:
// "D", "D.MM", "D.MM.SS" or "D.MM.SS.F...", with an optional sign. The result is in
// decimal degrees.
std::optional<double> ParseDms(std::wstring_view text, DmsFields fields = DmsFields::Sexagesimal);

// The value text read by the unit's rule, without its scale: DMS as decimal degrees, with
// minutes and seconds of any digits.
std::optional<double> ReadAsWritten(const Unit& unit, std::wstring_view text);

// The value text read in the unit and given in the host's base unit.
std::optional<double> ToBaseUnit(const Unit& unit, std::wstring_view text);

}  // namespace m5host
