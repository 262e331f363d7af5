// The plug-in's format settings: where a point record keeps the point name and code, how
// the file records Hz, and how its text is encoded.
#pragma once

#include <cstdint>
#include <string>

#include "text/m5_line.h"

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
  std::int32_t PointIdWidth = m5::text::kPointIdWidth;
  // 0: Windows-1251 text; any other value: Unicode text (UTF-16 or UTF-8).
  std::int32_t CodeStr = 0;

  // Reads the six stored keys through the host's store, each defaulting to its default.
  // Stored values are taken as they are. A null store leaves the settings unchanged.
  void Load(ISettingsReader* reader);
  // Writes the six keys in the same order. A null store gets nothing.
  void Save(ISettingsWriter* writer) const;

  // Whether the name and the code can be cut from the point-id text with this layout: both
  // fields start at position 1 or later, are at least one character long, do not overlap
  // and end within PointIdWidth. The values are arguments so that what the user is typing
  // can be judged before it is applied; any int is safe.
  bool IsValidLayout(std::int32_t nameStart, std::int32_t nameLen, std::int32_t codeStart,
                     std::int32_t codeLen) const;

  // The sample record the settings page shows for a layout: a head, then the point-id text
  // with the name as "P", the code as "C" and the rest as "*", or the invalid-format text.
  std::wstring PreviewText(std::int32_t nameStart, std::int32_t nameLen, std::int32_t codeStart,
                           std::int32_t codeLen) const;
};
