// The host's units, with the same arithmetic as the reference host's converters so that
// both hosts deliver bit-identical values: base = (value + offset) * scale, and D.MM.SS
// read as degrees + minutes / 60 + seconds / 3600.
#pragma once

#include "host/sinks/unit_table.h"

namespace msvchost {

// The units are the reference host's rows.
using m5host::FindUnit;
using m5host::Quantity;
using m5host::Unit;

// The text read in the unit and given in the base unit; false when it is not a value.
bool ToBaseUnit(const Unit& unit, const wchar_t* text, double* value);

}  // namespace msvchost
