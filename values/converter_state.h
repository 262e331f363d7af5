// The converters a parser reads values with: one per quantity, replaced whenever a data
// block names a unit, and released when the file is done.
#pragma once

#include <string>

#include "sdk/host_interfaces.h"
#include "sdk/ref.h"
#include "values/field_tables.h"

namespace m5 {

class CConverterState {
 public:
  // Asks the sink for the host's converter factory, then the factory for the initial
  // converters in this order: length 1, angle 3, pressure 1, temperature 1.
  explicit CConverterState(IMeasurementSink* sink);
  CConverterState(const CConverterState&) = delete;
  CConverterState& operator=(const CConverterState&) = delete;

  // Replaces the converter of the unit's quantity with a new one from the factory; unit
  // indices outside 0 to 14 change nothing. The DMS unit gets the plug-in's own wrapper
  // around the host's converter.
  void SelectUnit(int unitIndex);

  // Reads text with the current converter of the quantity. value is 0.0 before the call and
  // meaningful only when the result is true. False when there is no such converter.
  bool Parse(Quantity quantity, const std::wstring& text, double& value);

 private:
  // Declared in the order they are released in reverse: pressure, temperature, length,
  // angle, and last the factory.
  Plugin::Ref<IConverterFactory> m_converterFactory;
  Plugin::Ref<Plugin::IAngleConverter> m_angleConverter;
  Plugin::Ref<IValueConverter> m_distanceConverter;
  Plugin::Ref<IValueConverter> m_temperatureConverter;
  Plugin::Ref<IValueConverter> m_pressureConverter;
};

}  // namespace m5
