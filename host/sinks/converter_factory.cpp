#include "host/sinks/converter_factory.h"

namespace m5host {

// One converter object serves both interfaces: they have the same shape, and the plug-in
// only ever sees it through the one it asked for.
class HostConverter final : public Plugin::IAngleConverter, public IValueConverter {
 public:
  HostConverter(HostConverterFactory& factory, const Unit* unit, Reading reading)
      : m_factory(factory), m_references(factory.m_misuse), m_unit(unit), m_reading(reading) {}

  Plugin::IAngleConverter* AsAngle() { return this; }
  IValueConverter* AsValue() { return this; }
  int References() const { return m_references.References(); }
  // Whether the factory holds it among the released ones, so it is listed there once.
  bool Retired() const { return m_retired; }
  void SetRetired(bool retired) { m_retired = retired; }
  void Reuse(const Unit* unit) { m_unit = unit; }
  HostConverter* NextReusable() const { return m_nextReusable; }
  void SetNextReusable(HostConverter* next) { m_nextReusable = next; }

  void AddRef() override { m_references.AddRef(); }
  bool Release() override {
    // The object stays allocated; "destroyed" is what the plug-in may assume now.
    if (!m_references.Release()) {
      return false;
    }
    m_factory.Retired(*this);
    return true;
  }
  bool Parse(const wchar_t* text, double* value) override {
    m_references.Used();
    if (text == nullptr || value == nullptr || m_unit == nullptr) {
      return false;
    }
    const std::optional<double> read =
        m_reading == Reading::BaseUnits ? ToBaseUnit(*m_unit, text) : ReadAsWritten(*m_unit, text);
    if (read) {
      *value = *read;
    }
    return read.has_value();
  }

 private:
  HostConverterFactory& m_factory;
  CountedReferences m_references;
  const Unit* m_unit;
  Reading m_reading;
  bool m_retired = false;
  HostConverter* m_nextReusable = nullptr;
};

HostConverterFactory::HostConverterFactory(Reading reading) : m_reading(reading) {}
HostConverterFactory::~HostConverterFactory() = default;

ReferenceBalance HostConverterFactory::Balance() const {
  ReferenceBalance balance;
  balance.outstanding = m_references.References();
  for (const HostConverter& converter : m_converters) {
    balance.outstanding += converter.References();
  }
  balance.overReleases = m_misuse.overReleases;
  balance.usedAfterRelease = m_misuse.usedAfterRelease;
  return balance;
}

HostConverter& HostConverterFactory::Make(Quantity quantity, int code, const char* operation) {
  if (m_onCall) {
    m_onCall(std::string("factory.") + operation + "(" + std::to_string(code) + ")");
  }
  const Unit* unit = FindUnit(quantity, code);
  if (unit == nullptr && m_unknownUnits.insert({quantity, code}).second) {
    m_unknownUnitNotes.push_back("the host has no " + std::string(QuantityName(quantity)) +
                                 " unit " + std::to_string(code) + "; values in it are not read");
  }
  HostConverter& converter = Fresh(unit);
  converter.AddRef();  // the caller's reference
  return converter;
}

HostConverter& HostConverterFactory::Fresh(const Unit* unit) {
  if (m_released.empty()) {
    m_released.resize(kQuarantine);
  }
  while (m_reusable != nullptr) {
    HostConverter* candidate = m_reusable;
    m_reusable = candidate->NextReusable();
    candidate->SetNextReusable(nullptr);
    candidate->SetRetired(false);
    // One the plug-in took up again after its release is left to that holder.
    if (candidate->References() == 0) {
      candidate->Reuse(unit);
      ++m_created;
      return *candidate;
    }
  }
  HostConverter& made = m_converters.emplace_back(*this, unit, m_reading);
  ++m_created;
  return made;
}

void HostConverterFactory::Retired(HostConverter& converter) noexcept {
  if (converter.Retired() || m_released.empty()) {
    return;
  }
  converter.SetRetired(true);
  if (m_releasedCount < kQuarantine) {
    m_released[(m_oldestReleased + m_releasedCount++) % kQuarantine] = &converter;
    return;
  }
  HostConverter* oldest = m_released[m_oldestReleased];
  oldest->SetNextReusable(m_reusable);
  m_reusable = oldest;
  m_released[m_oldestReleased] = &converter;
  m_oldestReleased = (m_oldestReleased + 1) % kQuarantine;
}

Plugin::IAngleConverter* HostConverterFactory::GetAngleConverter(int unit) {
  return Make(Quantity::Angle, unit, "GetAngleConverter").AsAngle();
}
IValueConverter* HostConverterFactory::GetLengthConverter(int unit) {
  return Make(Quantity::Length, unit, "GetLengthConverter").AsValue();
}
IValueConverter* HostConverterFactory::GetPressureConverter(int unit) {
  return Make(Quantity::Pressure, unit, "GetPressureConverter").AsValue();
}
IValueConverter* HostConverterFactory::GetTemperatureConverter(int unit) {
  return Make(Quantity::Temperature, unit, "GetTemperatureConverter").AsValue();
}

}  // namespace m5host
