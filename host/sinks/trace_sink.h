// The trace: writes every sink call as one line of the trace format (host/trace_format.h)
// and passes it on to the next sink, if any. The reference host's --format trace and the
// tests' recording sink both are this sink, so a trace is written one way only.
#pragma once

#include <functional>
#include <string>

#include "host/sinks/sink_calls.h"
#include "sdk/host_interfaces.h"

namespace m5host {

// Whether a kind of line appears in the trace; the call is passed on either way.
enum class TraceLines { Written, Omitted };

class TraceSink : public SinkCalls<TraceSink> {
 public:
  using LineWriter = std::function<void(std::string line)>;

  // next may be null: then the calls end here and there is no converter factory.
  TraceSink(LineWriter write, IMeasurementSink* next) : m_write(std::move(write)), m_next(next) {}

  // Lines of the converter factory's calls, and GetConverterFactory's own.
  void FactoryLine(std::string line);
  // SetCurrentLine and SetProgress, which clutter a trace of parsed records.
  void ProgressLines(TraceLines lines) { m_progressLines = lines; }
  void FactoryLines(TraceLines lines) { m_factoryLines = lines; }

  IConverterFactory* GetConverterFactory() override;
  void SetCurrentLine(int line) override;
  void SetProgress(float percent) override;

 private:
  friend class SinkCalls<TraceSink>;
  // Writes the line, then hands the call to the next sink.
  template <class Argument>
  void Call(const char* call, Argument argument, void (IMeasurementSink::*operation)(Argument));

  LineWriter m_write;
  IMeasurementSink* m_next;
  TraceLines m_progressLines = TraceLines::Written;
  TraceLines m_factoryLines = TraceLines::Written;
};

}  // namespace m5host
