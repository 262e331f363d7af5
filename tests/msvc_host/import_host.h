// The host's side of an import: the sink that writes every call as a trace line, the
// converter factory and its converters (counted references), and the list of files.
#pragma once

#include "checks.h"
#include "host/session/file_list.h"
#include "output.h"
#include "plugin_watch.h"
#include "sdk/host_interfaces.h"
#include "units.h"

namespace msvchost {

class Converter;

class ConverterFactory final : public IConverterFactory {
 public:
  explicit ConverterFactory(Output& trace) : m_trace(trace) {}
  ~ConverterFactory();
  ConverterFactory(const ConverterFactory&) = delete;
  ConverterFactory& operator=(const ConverterFactory&) = delete;

  // Findings for references never released, released too often, or converters used after
  // their last release.
  void CheckBalance(Checks& checks) const;

  void AddRef() override;
  bool Release() override;
  Plugin::IAngleConverter* GetAngleConverter(int unit) override;
  IValueConverter* GetLengthConverter(int unit) override;
  IValueConverter* GetPressureConverter(int unit) override;
  IValueConverter* GetTemperatureConverter(int unit) override;

 private:
  friend class Converter;
  Converter* Make(Quantity quantity, int code, const char* operation);

  Output& m_trace;
  int m_references = 0;
  int m_overReleases = 0;
  int m_usedAfterRelease = 0;
  // Converters stay allocated until the factory goes, so a release too many is counted
  // rather than touching freed memory.
  Converter* m_converters = nullptr;
};

// Every call is a trace line; a failure injected into the plug-in starts with the first
// file.
class TraceSink final : public IMeasurementSink {
 public:
  TraceSink(Output& trace, ConverterFactory& factory, PluginWatch& watch)
      : m_trace(trace), m_factory(factory), m_watch(watch) {}

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
  void Line(const char* call, const wchar_t* text);
  void Line(const char* call, double value);
  void Line(const char* call, int value);

  Output& m_trace;
  ConverterFactory& m_factory;
  PluginWatch& m_watch;
  int m_files = 0;
};

// The reference host's list of files.
using m5host::FileList;

}  // namespace msvchost
