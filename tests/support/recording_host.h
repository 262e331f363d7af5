// A fake host for tests: a measurement sink that writes every call as one line of text,
// and a converter factory whose converters count their references.
//
// The converters do no unit arithmetic, so a trace shows the numbers of the file: every
// converter reads a plain decimal number (sign, digits, one point, exponent) and returns
// it unchanged, except the angle converter for unit 1 (degrees-minutes-seconds), which
// reads D.MM.SS[.FF...] and returns decimal degrees. Which unit read a value shows in the
// factory's calls, which are written to the same trace.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/text_encoding.h"
#include "host/trace_format.h"
#include "sdk/host_interfaces.h"

namespace m5test {

// Shortest text that reads back to the same value ("1.5", "33.333332", "1e+308").
using m5host::FormatDouble;
using m5host::FormatFloat;
// UTF-8 of a wide text and back, for writing expected values in test sources.
inline std::string ToUtf8(const std::wstring& text) {
  return m5host::ToUtf8(text);
}
inline std::string ToUtf8(const wchar_t* text) {
  return text == nullptr ? std::string() : m5host::ToUtf8(text);
}
using m5host::FromUtf8;

class RecordingFactory;

class RecordingSink : public IMeasurementSink {
 public:
  RecordingSink();
  ~RecordingSink();

  // Every call so far, one per line; factory calls start with "factory.".
  const std::vector<std::string>& Calls() const { return m_calls; }
  // The calls joined with "\n" (and a final "\n"), for whole-trace comparisons.
  std::string Trace() const;
  void ClearCalls() { m_calls.clear(); }
  // When false, factory calls are not written to the trace (they still count references).
  void RecordFactoryCalls(bool on) { m_recordFactory = on; }
  // When false, SetCurrentLine and SetProgress are not written (they clutter parser traces).
  void RecordProgress(bool on) { m_recordProgress = on; }

  // References the plug-in holds now on the factory and on every converter handed out.
  int OutstandingReferences() const;
  // Releases beyond the last reference, on any object of this host.
  int OverReleases() const;
  // Converters handed out so far.
  int ConvertersCreated() const;

  // Makes GetConverterFactory return null (a host without converters).
  void WithoutFactory() { m_noFactory = true; }

  void Record(std::string line);
  void RecordFactory(std::string line);

  IConverterFactory* GetConverterFactory() override;
  void BeginFile(const wchar_t* path) override;
  void SetCurrentLine(int line) override;
  void ReportWarning(const wchar_t* text) override;
  void ReportError(const wchar_t* text) override;
  void SetProgress(float percent) override;
  void AddPoint(const wchar_t* name) override;
  void SetX(double x) override;
  void SetY(double y) override;
  void SetZ(double z) override;
  void SetPointKind(int kind) override;
  void SetPointFlag(int flag) override;
  void SetCode(const wchar_t* code) override;
  void AddStation(const wchar_t* name) override;
  void SetInstrumentHeight(double height) override;
  void AddTarget(const wchar_t* name) override;
  void SetPressure(double pressure) override;
  void SetTemperature(double temperature) override;
  void SetVerticalAngle(double angle) override;
  void SetHorizontalDirection(double angle) override;
  void SetTargetHeight(double height) override;
  void SetSlopeDistance(double distance) override;
  void SetHorizontalDistance(double distance) override;
  void SetHeightDifference(double difference) override;

 private:
  friend class RecordingFactory;
  std::vector<std::string> m_calls;
  std::unique_ptr<RecordingFactory> m_factory;
  bool m_recordFactory = true;
  bool m_recordProgress = true;
  bool m_noFactory = false;
};

// A file list over fixed paths, as the host hands it to Import.
class FileList : public Plugin::IEnumerator<const wchar_t*> {
 public:
  explicit FileList(std::vector<std::wstring> paths) : m_paths(std::move(paths)) {}
  bool IsValid() override { return m_index < m_paths.size(); }
  void Next() override {
    if (m_index < m_paths.size()) {
      ++m_index;
    }
  }
  const wchar_t* Current() override { return m_paths[m_index].c_str(); }
  void Reset() override { m_index = 0; }

 private:
  std::vector<std::wstring> m_paths;
  std::size_t m_index = 0;
};

}  // namespace m5test
