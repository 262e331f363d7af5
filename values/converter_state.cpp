#include "values/converter_state.h"

#include <utility>

#include "values/angle_dms_converter.h"

namespace m5 {

CConverterState::CConverterState(IMeasurementSink* sink) {
  if (sink == nullptr) {
    return;
  }
  m_converterFactory = Plugin::Ref<IConverterFactory>::adopt(sink->GetConverterFactory());
  if (!m_converterFactory) {
    return;
  }
  IConverterFactory& factory = *m_converterFactory.get();
  m_distanceConverter =
      Plugin::Ref<IValueConverter>::adopt(factory.GetLengthConverter(kInitialLengthUnit));
  m_angleConverter =
      Plugin::Ref<Plugin::IAngleConverter>::adopt(factory.GetAngleConverter(kInitialAngleUnit));
  m_pressureConverter =
      Plugin::Ref<IValueConverter>::adopt(factory.GetPressureConverter(kInitialPressureUnit));
  m_temperatureConverter =
      Plugin::Ref<IValueConverter>::adopt(factory.GetTemperatureConverter(kInitialTemperatureUnit));
}

void CConverterState::SelectUnit(int unitIndex) {
  if (unitIndex < 0 || unitIndex >= kUnitCount || !m_converterFactory) {
    return;
  }
  const UnitRow& row = kUnitRows[unitIndex];
  IConverterFactory& factory = *m_converterFactory.get();
  switch (row.quantity) {
    case Quantity::Angle: {
      auto host =
          Plugin::Ref<Plugin::IAngleConverter>::adopt(factory.GetAngleConverter(row.unitCode));
      if (!row.dms) {
        m_angleConverter = std::move(host);
        return;
      }
      // The host reads D.MM.SS; the wrapper holds the only reference we keep on it.
      m_angleConverter =
          Plugin::Ref<Plugin::IAngleConverter>::retain(new CAngleDMSConverter(host.get()));
      host.reset();
      return;
    }
    case Quantity::Length:
      m_distanceConverter =
          Plugin::Ref<IValueConverter>::adopt(factory.GetLengthConverter(row.unitCode));
      return;
    case Quantity::Pressure:
      m_pressureConverter =
          Plugin::Ref<IValueConverter>::adopt(factory.GetPressureConverter(row.unitCode));
      return;
    case Quantity::Temperature:
      m_temperatureConverter =
          Plugin::Ref<IValueConverter>::adopt(factory.GetTemperatureConverter(row.unitCode));
      return;
    case Quantity::None:
      return;
  }
}

bool CConverterState::Parse(Quantity quantity, const std::wstring& text, double& value) {
  value = 0.0;
  switch (quantity) {
    case Quantity::Angle:
      return m_angleConverter && m_angleConverter->Parse(text.c_str(), &value);
    case Quantity::Length:
      return m_distanceConverter && m_distanceConverter->Parse(text.c_str(), &value);
    case Quantity::Temperature:
      return m_temperatureConverter && m_temperatureConverter->Parse(text.c_str(), &value);
    case Quantity::Pressure:
      return m_pressureConverter && m_pressureConverter->Parse(text.c_str(), &value);
    case Quantity::None:
      return false;
  }
  return false;
}

}  // namespace m5
