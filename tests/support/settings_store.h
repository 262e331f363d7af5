// The host's settings store for the tests, the fuzz targets and the benchmark: the keys it
// holds, in the order they were first written, each read back as stored; a key it does not
// hold reads as the plug-in's default.
#pragma once

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "sdk/host_interfaces.h"

namespace m5test {

class SettingsStore : public ISettingsReader, public ISettingsWriter {
 public:
  SettingsStore() = default;
  SettingsStore(std::initializer_list<std::pair<std::wstring, int>> stored) : values(stored) {}

  int ReadInt(const wchar_t* key, int defaultValue) override {
    for (const auto& [stored, value] : values) {
      if (key != nullptr && stored == key) {
        return value;
      }
    }
    return defaultValue;
  }
  void WriteInt(const wchar_t* key, int value) override {
    if (key == nullptr) {
      return;
    }
    for (auto& [stored, old] : values) {
      if (stored == key) {
        old = value;
        return;
      }
    }
    values.emplace_back(key, value);
  }

  std::vector<std::pair<std::wstring, int>> values;
};

}  // namespace m5test
