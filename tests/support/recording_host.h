// A fake host for tests: the reference host's trace sink writing every call as one line
// of text, and the host's converter factory with its reference accounting.
//
// The converters read values as the file wrote them, so a trace shows the numbers of the
// file: every converter reads a plain decimal number (sign, digits, one point, exponent)
// and returns it unchanged, except the angle converter for unit 1 (degrees-minutes-seconds),
// which reads D.MM.SS[.FF...] and returns decimal degrees. Which unit read a value shows in
// the factory's calls, which are written to the same trace.
#pragma once

#include <string>
#include <vector>

#include "host/os/text_encoding.h"
#include "host/sinks/converter_factory.h"
#include "host/sinks/trace_format.h"
#include "host/sinks/trace_sink.h"
#include "sdk/host_interfaces.h"
#include "tests/support/file_list.h"

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

class RecordingSink : public m5host::TraceSink {
 public:
  RecordingSink();

  // Every call so far, one per line; factory calls start with "factory.".
  const std::vector<std::string>& Calls() const { return m_calls; }
  // The calls joined with "\n" (and a final "\n"), for whole-trace comparisons.
  std::string Trace() const;
  void ClearCalls() { m_calls.clear(); }
  // When false, factory calls are not written to the trace (they still count references).
  void RecordFactoryCalls(bool on) {
    FactoryLines(on ? m5host::TraceLines::Written : m5host::TraceLines::Omitted);
  }
  // When false, SetCurrentLine and SetProgress are not written (they clutter parser traces).
  void RecordProgress(bool on) {
    ProgressLines(on ? m5host::TraceLines::Written : m5host::TraceLines::Omitted);
  }

  // References the plug-in holds now on the factory and on every converter handed out.
  int OutstandingReferences() const { return m_factory.Balance().outstanding; }
  // Releases beyond the last reference, and uses of a converter after its last one.
  int OverReleases() const;
  // Converters handed out so far.
  int ConvertersCreated() const { return m_factory.ConvertersCreated(); }

  // Makes GetConverterFactory return null (a host without converters).
  void WithoutFactory() { m_noFactory = true; }

  IConverterFactory* GetConverterFactory() override;

 private:
  std::vector<std::string> m_calls;
  m5host::HostConverterFactory m_factory{m5host::Reading::AsWritten};
  bool m_noFactory = false;
};

}  // namespace m5test
