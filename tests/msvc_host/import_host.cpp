#include "import_host.h"

namespace msvchost {

// One object serves both converter interfaces: the plug-in only sees the one it asked for.
class Converter final : public Plugin::IAngleConverter, public IValueConverter {
 public:
  Converter(ConverterFactory& factory, const Unit* unit, Converter* next)
      : m_references(factory.m_misuse), m_unit(unit), m_next(next) {}

  Converter* Next() const { return m_next; }
  int References() const { return m_references.References(); }

  void AddRef() override { m_references.AddRef(); }
  bool Release() override { return m_references.Release(); }
  bool Parse(const wchar_t* text, double* value) override {
    m_references.Used();
    if (text == nullptr || value == nullptr || m_unit == nullptr) {
      return false;
    }
    return ToBaseUnit(*m_unit, text, value);
  }

 private:
  m5host::CountedReferences m_references;
  const Unit* m_unit;
  Converter* m_next;
};

ConverterFactory::~ConverterFactory() {
  while (m_converters != nullptr) {
    Converter* next = m_converters->Next();
    Free(m_converters);
    m_converters = next;
  }
}

void ConverterFactory::CheckBalance(Checks& checks) const {
  int outstanding = m_references.References();
  for (const Converter* c = m_converters; c != nullptr; c = c->Next()) {
    outstanding += c->References();
  }
  if (outstanding != 0) {
    checks.Fail("converter references never released", outstanding);
  }
  if (m_misuse.overReleases != 0) {
    checks.Fail("converter releases beyond the last reference", m_misuse.overReleases);
  }
  if (m_misuse.usedAfterRelease != 0) {
    checks.Fail("uses of a released converter", m_misuse.usedAfterRelease);
  }
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
void TraceSink::Line(const char* call, float value) {
  m_trace.Ascii(call).Ascii("(").Float(value).Ascii(")").EndLine();
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
  SinkCalls::BeginFile(path);
  if (m_files++ == 0) {
    m_watch.Arm();
  }
}

}  // namespace msvchost
