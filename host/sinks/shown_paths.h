// Passes every sink call on, but shows a file the user named differently from the path the
// plug-in read (standard input, copied to a temporary file) under the user's name.
#pragma once

#include <string>
#include <utility>

#include "host/sinks/sink_calls.h"
#include "sdk/host_interfaces.h"

namespace m5host {

class ShownPaths final : public SinkCalls<ShownPaths> {
 public:
  // Calls go on to next; a file read from readPath begins as shownPath.
  ShownPaths(IMeasurementSink& next, std::wstring readPath, std::wstring shownPath)
      : m_next(next), m_readPath(std::move(readPath)), m_shownPath(std::move(shownPath)) {}

  void BeginFile(const wchar_t* path) override {
    const bool renamed = path != nullptr && !m_readPath.empty() && m_readPath == path;
    m_next.BeginFile(renamed ? m_shownPath.c_str() : path);
  }

  IConverterFactory* GetConverterFactory() override { return m_next.GetConverterFactory(); }

  // Every other call goes on as it came.
  template <class Argument>
  void Call(const char*, Argument argument, void (IMeasurementSink::*call)(Argument)) {
    (m_next.*call)(argument);
  }

 private:
  IMeasurementSink& m_next;
  std::wstring m_readPath;
  std::wstring m_shownPath;
};

}  // namespace m5host
