// A sink that counts what an import names instead of recording every call, for surveys
// too large to trace. Which converters it hands out is left to the one who derives.
#pragma once

#include "host/sinks/discarding_sink.h"

namespace m5test {

class CountingSink : public m5host::DiscardingSink {
 public:
  void ReportWarning(const wchar_t*) override { ++messages; }
  void ReportError(const wchar_t*) override { ++messages; }
  void AddPoint(const wchar_t*) override { ++points; }
  void AddStation(const wchar_t*) override { ++stations; }
  void AddTarget(const wchar_t*) override { ++points; }

  long messages = 0;
  long points = 0;
  long stations = 0;
};

}  // namespace m5test
