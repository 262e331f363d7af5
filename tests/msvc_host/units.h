// The host's units, with the same arithmetic as the reference host's converters so that
// both hosts deliver bit-identical values: base = (value + offset) * scale, and D.MM.SS
// read as degrees + minutes / 60 + seconds / 3600.
#pragma once

namespace msvchost {

enum class Quantity { Angle, Length, Pressure, Temperature };

struct Unit {
  Quantity quantity;
  int code;
  double scale;
  double offset;
  bool dms;
};

// The unit for a code, or null when the host has no such unit.
const Unit* FindUnit(Quantity quantity, int code);

// The text read in the unit and given in the base unit; false when it is not a value.
bool ToBaseUnit(const Unit& unit, const wchar_t* text, double* value);

}  // namespace msvchost
