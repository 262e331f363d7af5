#include "host/sinks/trace_sink.h"

#include "host/sinks/trace_format.h"

namespace m5host {

template <class Argument>
void TraceSink::Call(const char* call, Argument argument,
                     void (IMeasurementSink::*operation)(Argument)) {
  m_write(TraceLine(call, argument));
  if (m_next != nullptr) {
    (m_next->*operation)(argument);
  }
}

// The argument types of the sink's calls; SinkCalls, in the header, calls each.
template void TraceSink::Call(const char*, const wchar_t*,
                              void (IMeasurementSink::*)(const wchar_t*));
template void TraceSink::Call(const char*, double, void (IMeasurementSink::*)(double));
template void TraceSink::Call(const char*, float, void (IMeasurementSink::*)(float));
template void TraceSink::Call(const char*, int, void (IMeasurementSink::*)(int));

void TraceSink::FactoryLine(std::string line) {
  if (m_factoryLines == TraceLines::Written) {
    m_write(std::move(line));
  }
}

IConverterFactory* TraceSink::GetConverterFactory() {
  FactoryLine("GetConverterFactory()");
  return m_next != nullptr ? m_next->GetConverterFactory() : nullptr;
}

void TraceSink::SetCurrentLine(int line) {
  if (m_progressLines == TraceLines::Written) {
    m_write(TraceLine("SetCurrentLine", line));
  }
  if (m_next != nullptr) {
    m_next->SetCurrentLine(line);
  }
}

void TraceSink::SetProgress(float percent) {
  if (m_progressLines == TraceLines::Written) {
    m_write(TraceLine("SetProgress", percent));
  }
  if (m_next != nullptr) {
    m_next->SetProgress(percent);
  }
}

}  // namespace m5host
