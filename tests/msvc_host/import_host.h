// The host's side of an import: the sink that writes every call as a trace line, the
// converter factory and its converters (counted references), and the list of files.
#pragma once

#include "checks.h"
#include "host/session/file_list.h"
#include "host/sinks/counted_references.h"
#include "host/sinks/sink_calls.h"
#include "output.h"
#include "plugin_watch.h"
#include "sdk/host_interfaces.h"
#include "units.h"

namespace msvchost {

class Converter;

class ConverterFactory final : public m5host::CountedFactory {
 public:
  explicit ConverterFactory(Output& trace) : m_trace(trace) {}
  ~ConverterFactory();
  ConverterFactory(const ConverterFactory&) = delete;
  ConverterFactory& operator=(const ConverterFactory&) = delete;

  // Findings for references never released, released too often, or converters used after
  // their last release.
  void CheckBalance(Checks& checks) const;

  Plugin::IAngleConverter* GetAngleConverter(int unit) override;
  IValueConverter* GetLengthConverter(int unit) override;
  IValueConverter* GetPressureConverter(int unit) override;
  IValueConverter* GetTemperatureConverter(int unit) override;

 private:
  friend class Converter;
  Converter* Make(Quantity quantity, int code, const char* operation);

  Output& m_trace;
  // Converters stay allocated until the factory goes (counted_references.h).
  Converter* m_converters = nullptr;
};

// Every call is a trace line; a failure injected into the plug-in starts with the first
// file.
class TraceSink final : public m5host::SinkCalls<TraceSink> {
 public:
  TraceSink(Output& trace, ConverterFactory& factory, PluginWatch& watch)
      : m_trace(trace), m_factory(factory), m_watch(watch) {}

  IConverterFactory* GetConverterFactory() override;
  void BeginFile(const wchar_t* path) override;

 private:
  friend class m5host::SinkCalls<TraceSink>;
  // A line "Call(argument)"; the call ends here.
  template <class Argument>
  void Call(const char* call, Argument argument, void (IMeasurementSink::*)(Argument)) {
    Line(call, argument);
  }
  void Line(const char* call, const wchar_t* text);
  void Line(const char* call, double value);
  void Line(const char* call, float value);
  void Line(const char* call, int value);

  Output& m_trace;
  ConverterFactory& m_factory;
  PluginWatch& m_watch;
  int m_files = 0;
};

// The reference host's list of files.
using m5host::FileList;

}  // namespace msvchost
