// Passes every sink call on, but shows a file the user named differently from the path the
// plug-in read (standard input or a FIFO, copied to a temporary file) under the user's name.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "host/sinks/sink_calls.h"
#include "sdk/host_interfaces.h"

namespace m5host {

class ShownPaths final : public SinkCalls<ShownPaths> {
 public:
  // A read path and the name it is shown under.
  using Renaming = std::pair<std::wstring, std::wstring>;

  // Calls go on to next; a file read from a renaming's first path begins as its second.
  ShownPaths(IMeasurementSink& next, std::vector<Renaming> renamings)
      : m_next(next), m_renamings(std::move(renamings)) {}

  void BeginFile(const wchar_t* path) override {
    for (const Renaming& renaming : m_renamings) {
      if (path != nullptr && renaming.first == path) {
        m_next.BeginFile(renaming.second.c_str());
        return;
      }
    }
    m_next.BeginFile(path);
  }

  IConverterFactory* GetConverterFactory() override { return m_next.GetConverterFactory(); }

  // Every other call goes on as it came.
  template <class Argument>
  void Call(const char*, Argument argument, void (IMeasurementSink::*call)(Argument)) {
    (m_next.*call)(argument);
  }

 private:
  IMeasurementSink& m_next;
  std::vector<Renaming> m_renamings;
};

}  // namespace m5host
