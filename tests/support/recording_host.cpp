#include "tests/support/recording_host.h"

#include "host/trace_format.h"

#include <cmath>
#include <cstdlib>

namespace m5test {

namespace {

// Reads the whole text as a decimal number: optional sign, digits with at most one point,
// optional exponent; nothing else.
bool ParsePlainNumber(const std::wstring& text, double& value) {
  std::string narrow;
  for (const wchar_t ch : text) {
    if (ch > 0x7F) {
      return false;
    }
    narrow += static_cast<char>(ch);
  }
  std::size_t i = 0;
  if (i < narrow.size() && (narrow[i] == '+' || narrow[i] == '-')) {
    ++i;
  }
  bool digits = false;
  bool point = false;
  for (; i < narrow.size(); ++i) {
    const char c = narrow[i];
    if (c >= '0' && c <= '9') {
      digits = true;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (!digits) {
    return false;
  }
  if (i < narrow.size() && (narrow[i] == 'e' || narrow[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < narrow.size() && (narrow[j] == '+' || narrow[j] == '-')) {
      ++j;
    }
    if (j >= narrow.size() || narrow[j] < '0' || narrow[j] > '9') {
      return false;
    }
    while (j < narrow.size() && narrow[j] >= '0' && narrow[j] <= '9') {
      ++j;
    }
    i = j;
  }
  if (i != narrow.size()) {
    return false;
  }
  value = std::strtod(narrow.c_str(), nullptr);
  return std::isfinite(value);
}

// D.MM.SS[.FF...] as decimal degrees.
bool ParseSeparatedDms(const std::wstring& text, double& value) {
  std::wstring body = text;
  double sign = 1.0;
  if (!body.empty() && (body[0] == L'-' || body[0] == L'+')) {
    sign = body[0] == L'-' ? -1.0 : 1.0;
    body.erase(0, 1);
  }
  std::vector<std::wstring> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t dot = body.find(L'.', start);
    parts.push_back(body.substr(start, dot - start));
    if (dot == std::wstring::npos) {
      break;
    }
    start = dot + 1;
  }
  if (parts.size() > 4) {
    return false;
  }
  double d = 0;
  double m = 0;
  double s = 0;
  for (const std::wstring& part : parts) {
    if (part.empty() || part.find_first_not_of(L"0123456789") != std::wstring::npos) {
      return false;
    }
  }
  ParsePlainNumber(parts[0], d);
  if (parts.size() > 1) {
    ParsePlainNumber(parts[1], m);
  }
  if (parts.size() > 2) {
    std::wstring seconds = parts[2];
    if (parts.size() > 3) {
      seconds += L"." + parts[3];
    }
    ParsePlainNumber(seconds, s);
  }
  value = sign * (d + m / 60.0 + s / 3600.0);
  return true;
}

}  // namespace

// Reference counts of every object the fake host hands out. Objects are kept until the
// host goes, so a release too many is counted instead of touching freed memory.
struct RefCounter {
  int count = 0;
  void AddRef() { ++count; }
  // True when the release was one too many.
  bool Release() {
    if (count <= 0) {
      return true;
    }
    --count;
    return false;
  }
};

class RecordingFactory : public IConverterFactory {
 public:
  explicit RecordingFactory(RecordingSink& sink) : m_sink(sink) {}

  template <class I>
  class Converter : public I {
   public:
    Converter(RecordingFactory& factory, bool dms) : m_factory(factory), m_dms(dms) {
      m_refs.AddRef();
    }
    void AddRef() override { m_refs.AddRef(); }
    bool Release() override {
      if (m_refs.Release()) {
        ++m_factory.m_overReleases;
        return false;
      }
      return m_refs.count == 0;
    }
    bool Parse(const wchar_t* text, double* value) override {
      if (m_refs.count <= 0) {
        ++m_factory.m_overReleases;  // used after its last release
      }
      if (text == nullptr || value == nullptr) {
        return false;
      }
      double read = 0;
      const bool ok = m_dms ? ParseSeparatedDms(text, read) : ParsePlainNumber(text, read);
      if (ok) {
        *value = read;
      }
      return ok;
    }
    RefCounter m_refs;

   private:
    RecordingFactory& m_factory;
    bool m_dms;
  };

  void AddRef() override { m_refs.AddRef(); }
  bool Release() override {
    if (m_refs.Release()) {
      ++m_overReleases;
      return false;
    }
    return m_refs.count == 0;
  }

  Plugin::IAngleConverter* GetAngleConverter(int unit) override {
    m_sink.RecordFactory("factory.GetAngleConverter(" + std::to_string(unit) + ")");
    m_angles.push_back(std::make_unique<Converter<Plugin::IAngleConverter>>(*this, unit == 1));
    return m_angles.back().get();
  }
  IValueConverter* GetLengthConverter(int unit) override {
    return MakeValue("factory.GetLengthConverter(", unit);
  }
  IValueConverter* GetPressureConverter(int unit) override {
    return MakeValue("factory.GetPressureConverter(", unit);
  }
  IValueConverter* GetTemperatureConverter(int unit) override {
    return MakeValue("factory.GetTemperatureConverter(", unit);
  }

  int Outstanding() const {
    int total = m_refs.count;
    for (const auto& c : m_angles)
      total += c->m_refs.count;
    for (const auto& c : m_values)
      total += c->m_refs.count;
    return total;
  }
  int Created() const { return static_cast<int>(m_angles.size() + m_values.size()); }

  RefCounter m_refs;
  int m_overReleases = 0;

 private:
  IValueConverter* MakeValue(const char* call, int unit) {
    m_sink.RecordFactory(call + std::to_string(unit) + ")");
    m_values.push_back(std::make_unique<Converter<IValueConverter>>(*this, false));
    return m_values.back().get();
  }

  RecordingSink& m_sink;
  std::vector<std::unique_ptr<Converter<Plugin::IAngleConverter>>> m_angles;
  std::vector<std::unique_ptr<Converter<IValueConverter>>> m_values;
};

RecordingSink::RecordingSink() : m_factory(std::make_unique<RecordingFactory>(*this)) {}
RecordingSink::~RecordingSink() = default;

std::string RecordingSink::Trace() const {
  std::string out;
  for (const std::string& line : m_calls) {
    out += line;
    out += '\n';
  }
  return out;
}

int RecordingSink::OutstandingReferences() const {
  return m_factory->Outstanding();
}
int RecordingSink::OverReleases() const {
  return m_factory->m_overReleases;
}
int RecordingSink::ConvertersCreated() const {
  return m_factory->Created();
}

void RecordingSink::Record(std::string line) {
  m_calls.push_back(std::move(line));
}
void RecordingSink::RecordFactory(std::string line) {
  if (m_recordFactory) {
    m_calls.push_back(std::move(line));
  }
}

IConverterFactory* RecordingSink::GetConverterFactory() {
  RecordFactory("GetConverterFactory()");
  if (m_noFactory) {
    return nullptr;
  }
  m_factory->AddRef();
  return m_factory.get();
}

void RecordingSink::BeginFile(const wchar_t* path) {
  Record(m5host::TraceLine("BeginFile", path));
}
void RecordingSink::SetCurrentLine(int line) {
  if (m_recordProgress) {
    Record(m5host::TraceLine("SetCurrentLine", line));
  }
}
void RecordingSink::ReportWarning(const wchar_t* text) {
  Record(m5host::TraceLine("ReportWarning", text));
}
void RecordingSink::ReportError(const wchar_t* text) {
  Record(m5host::TraceLine("ReportError", text));
}
void RecordingSink::SetProgress(float percent) {
  if (m_recordProgress) {
    Record(m5host::TraceLine("SetProgress", percent));
  }
}
void RecordingSink::AddPoint(const wchar_t* name) {
  Record(m5host::TraceLine("AddPoint", name));
}
void RecordingSink::SetX(double x) {
  Record(m5host::TraceLine("SetX", x));
}
void RecordingSink::SetY(double y) {
  Record(m5host::TraceLine("SetY", y));
}
void RecordingSink::SetZ(double z) {
  Record(m5host::TraceLine("SetZ", z));
}
void RecordingSink::SetPointKind(int kind) {
  Record(m5host::TraceLine("SetPointKind", kind));
}
void RecordingSink::SetPointFlag(int flag) {
  Record(m5host::TraceLine("SetPointFlag", flag));
}
void RecordingSink::SetCode(const wchar_t* code) {
  Record(m5host::TraceLine("SetCode", code));
}
void RecordingSink::AddStation(const wchar_t* name) {
  Record(m5host::TraceLine("AddStation", name));
}
void RecordingSink::SetInstrumentHeight(double height) {
  Record(m5host::TraceLine("SetInstrumentHeight", height));
}
void RecordingSink::AddTarget(const wchar_t* name) {
  Record(m5host::TraceLine("AddTarget", name));
}
void RecordingSink::SetPressure(double pressure) {
  Record(m5host::TraceLine("SetPressure", pressure));
}
void RecordingSink::SetTemperature(double temperature) {
  Record(m5host::TraceLine("SetTemperature", temperature));
}
void RecordingSink::SetVerticalAngle(double angle) {
  Record(m5host::TraceLine("SetVerticalAngle", angle));
}
void RecordingSink::SetHorizontalDirection(double angle) {
  Record(m5host::TraceLine("SetHorizontalDirection", angle));
}
void RecordingSink::SetTargetHeight(double height) {
  Record(m5host::TraceLine("SetTargetHeight", height));
}
void RecordingSink::SetSlopeDistance(double distance) {
  Record(m5host::TraceLine("SetSlopeDistance", distance));
}
void RecordingSink::SetHorizontalDistance(double distance) {
  Record(m5host::TraceLine("SetHorizontalDistance", distance));
}
void RecordingSink::SetHeightDifference(double difference) {
  Record(m5host::TraceLine("SetHeightDifference", difference));
}

}  // namespace m5test
