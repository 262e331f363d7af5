#include "import_host.h"

namespace msvchost {

// One object serves both converter interfaces: the plug-in only sees the one it asked for.
class Converter final : public Plugin::IAngleConverter, public IValueConverter {
 public:
  Converter(ConverterFactory& factory, const Unit* unit, Converter* next)
      : m_factory(factory), m_unit(unit), m_next(next) {}

  Converter* Next() const { return m_next; }
  int References() const { return m_references; }

  void AddRef() override { ++m_references; }
  bool Release() override {
    if (m_references <= 0) {
      ++m_factory.m_overReleases;
      return false;
    }
    --m_references;
    return m_references == 0;
  }
  bool Parse(const wchar_t* text, double* value) override {
    if (m_references <= 0) {
      ++m_factory.m_usedAfterRelease;
    }
    if (text == nullptr || value == nullptr || m_unit == nullptr) {
      return false;
    }
    return ToBaseUnit(*m_unit, text, value);
  }

 private:
  ConverterFactory& m_factory;
  const Unit* m_unit;
  Converter* m_next;
  int m_references = 0;
};

ConverterFactory::~ConverterFactory() {
  while (m_converters != nullptr) {
    Converter* next = m_converters->Next();
    Free(m_converters);
    m_converters = next;
  }
}

void ConverterFactory::CheckBalance(Checks& checks) const {
  int outstanding = m_references;
  for (const Converter* c = m_converters; c != nullptr; c = c->Next()) {
    outstanding += c->References();
  }
  if (outstanding != 0) {
    checks.Fail("converter references never released", outstanding);
  }
  if (m_overReleases != 0) {
    checks.Fail("converter releases beyond the last reference", m_overReleases);
  }
  if (m_usedAfterRelease != 0) {
    checks.Fail("uses of a released converter", m_usedAfterRelease);
  }
}

void ConverterFactory::AddRef() {
  ++m_references;
}

bool ConverterFactory::Release() {
  if (m_references <= 0) {
    ++m_overReleases;
    return false;
  }
  --m_references;
  return false;  // the host's own object: never destroyed by the plug-in
}

Converter* ConverterFactory::Make(Quantity quantity, int code, const char* operation) {
  m_trace.Ascii("factory.").Ascii(operation).Ascii("(").Int(code).Ascii(")").EndLine();
  void* memory = Allocate(sizeof(Converter));
  if (memory == nullptr) {
    return nullptr;
  }
  m_converters = new (Place{memory}) Converter(*this, FindUnit(quantity, code), m_converters);
  m_converters->AddRef();  // the caller's reference
  return m_converters;
}

Plugin::IAngleConverter* ConverterFactory::GetAngleConverter(int unit) {
  return Make(Quantity::Angle, unit, "GetAngleConverter");
}
IValueConverter* ConverterFactory::GetLengthConverter(int unit) {
  return Make(Quantity::Length, unit, "GetLengthConverter");
}
IValueConverter* ConverterFactory::GetPressureConverter(int unit) {
  return Make(Quantity::Pressure, unit, "GetPressureConverter");
}
IValueConverter* ConverterFactory::GetTemperatureConverter(int unit) {
  return Make(Quantity::Temperature, unit, "GetTemperatureConverter");
}

void TraceSink::Line(const char* call, const wchar_t* text) {
  m_trace.Ascii(call).Ascii("(").Quoted(text).Ascii(")").EndLine();
}
void TraceSink::Line(const char* call, double value) {
  m_trace.Ascii(call).Ascii("(").Double(value).Ascii(")").EndLine();
}
void TraceSink::Line(const char* call, int value) {
  m_trace.Ascii(call).Ascii("(").Int(value).Ascii(")").EndLine();
}

IConverterFactory* TraceSink::GetConverterFactory() {
  m_trace.Ascii("GetConverterFactory()").EndLine();
  m_factory.AddRef();  // the caller's reference
  return &m_factory;
}
void TraceSink::BeginFile(const wchar_t* path) {
  Line("BeginFile", path);
  if (m_files++ == 0) {
    m_watch.Arm();
  }
}
void TraceSink::SetCurrentLine(int line) {
  Line("SetCurrentLine", line);
}
void TraceSink::ReportWarning(const wchar_t* text) {
  Line("ReportWarning", text);
}
void TraceSink::ReportError(const wchar_t* text) {
  Line("ReportError", text);
}
void TraceSink::SetProgress(float percent) {
  m_trace.Ascii("SetProgress(").Float(percent).Ascii(")").EndLine();
}
void TraceSink::AddPoint(const wchar_t* name) {
  Line("AddPoint", name);
}
void TraceSink::SetX(double x) {
  Line("SetX", x);
}
void TraceSink::SetY(double y) {
  Line("SetY", y);
}
void TraceSink::SetZ(double z) {
  Line("SetZ", z);
}
void TraceSink::SetPointKind(int kind) {
  Line("SetPointKind", kind);
}
void TraceSink::SetPointFlag(int flag) {
  Line("SetPointFlag", flag);
}
void TraceSink::SetCode(const wchar_t* code) {
  Line("SetCode", code);
}
void TraceSink::AddStation(const wchar_t* name) {
  Line("AddStation", name);
}
void TraceSink::SetInstrumentHeight(double height) {
  Line("SetInstrumentHeight", height);
}
void TraceSink::AddTarget(const wchar_t* name) {
  Line("AddTarget", name);
}
void TraceSink::SetPressure(double pressure) {
  Line("SetPressure", pressure);
}
void TraceSink::SetTemperature(double temperature) {
  Line("SetTemperature", temperature);
}
void TraceSink::SetVerticalAngle(double angle) {
  Line("SetVerticalAngle", angle);
}
void TraceSink::SetHorizontalDirection(double angle) {
  Line("SetHorizontalDirection", angle);
}
void TraceSink::SetTargetHeight(double height) {
  Line("SetTargetHeight", height);
}
void TraceSink::SetSlopeDistance(double distance) {
  Line("SetSlopeDistance", distance);
}
void TraceSink::SetHorizontalDistance(double distance) {
  Line("SetHorizontalDistance", distance);
}
void TraceSink::SetHeightDifference(double difference) {
  Line("SetHeightDifference", difference);
}

}  // namespace msvchost
