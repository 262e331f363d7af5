// The plug-in's format settings: where a point record keeps the point name and code, how
// the file records Hz, and how its text is encoded.
#pragma once

#include <cstdint>

struct ISettingsReader;
struct ISettingsWriter;

struct ImportSettings {
  // 1-based position and length of the point name in the 27-character point-id text.
  std::int32_t PointStart = 1;
  std::int32_t PointLen = 14;
  // 1-based position and length of the point code in the same text.
  std::int32_t CodeStart = 15;
  std::int32_t CodeLen = 13;
  // 0: Hz is an absolute circle reading; 1: Hz is an oriented direction.
  std::int32_t AngleMode = 1;
  // Width of the point-id text; fixed, never stored.
  std::int32_t PointIdWidth = 27;
  // 0: Windows-1251 text; any other value: Unicode text (UTF-16 or UTF-8).
  std::int32_t CodeStr = 0;

  // Reads the six stored keys through the host's store, each defaulting to its default.
  void Load(ISettingsReader* reader);
  // Writes the six keys in the same order.
  void Save(ISettingsWriter* writer) const;
};
