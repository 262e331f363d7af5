// The host's units as rows: what each unit code of the M5 unit table means here. It needs
// no library, so the Microsoft-ABI test host, built without one, converts by the same rows.
#pragma once

namespace m5host {

enum class Quantity { Angle, Length, Pressure, Temperature };

// One unit the host reads: base = (value + offset) * scale. DMS angles are read by their
// own rule (D.MM.SS[.F...]) and then scaled like degrees.
struct Unit {
  Quantity quantity;
  int code;
  const char* name;
  double scale;
  double offset;
  bool dms;
};

namespace unit_rows {
inline constexpr double kPi = 3.14159265358979323846;

// Conventional factors: 1 mmHg = 133.322387415 Pa, 1 inHg = 3386.388640341 Pa.
inline constexpr Unit kUnits[] = {
    {Quantity::Length, 0, "metre", 1.0, 0.0, false},
    {Quantity::Length, 1, "international foot", 0.3048, 0.0, false},
    {Quantity::Angle, 1, "degrees-minutes-seconds", kPi / 180.0, 0.0, true},
    {Quantity::Angle, 3, "decimal degrees", kPi / 180.0, 0.0, false},
    {Quantity::Angle, 4, "gon", kPi / 200.0, 0.0, false},
    {Quantity::Angle, 5, "mil (6400 per circle)", kPi / 3200.0, 0.0, false},
    {Quantity::Pressure, 0, "mmHg (Torr)", 1.33322387415, 0.0, false},
    {Quantity::Pressure, 1, "hPa", 1.0, 0.0, false},
    {Quantity::Pressure, 2, "inHg", 33.86388640341, 0.0, false},
    {Quantity::Temperature, 0, "degree Celsius", 1.0, 0.0, false},
    {Quantity::Temperature, 1, "degree Fahrenheit", 5.0 / 9.0, -32.0, false},
};
}  // namespace unit_rows

// The unit for a code, or null when the host has no such unit.
constexpr const Unit* FindUnit(Quantity quantity, int code) {
  for (const Unit& unit : unit_rows::kUnits) {
    if (unit.quantity == quantity && unit.code == code) {
      return &unit;
    }
  }
  return nullptr;
}

}  // namespace m5host
