// Angles written D.MMSSFF in M5 records, handed to the host's converter as D.MM.SS.FF.
#pragma once

#include <string>

#include "sdk/plugin_interfaces.h"
#include "sdk/ref.h"
#include "sdk/ref_counted.h"

class CAngleDMSConverter : public Plugin::CRefCountedImpl<Plugin::IAngleConverter, 0> {
 public:
  // Takes a reference of its own on inner, which may be null.
  explicit CAngleDMSConverter(Plugin::IAngleConverter* inner);

  // Inserts the separators by position after the first point and lets the inner converter
  // read the result. False without a point, without an inner converter, or when the inner
  // converter rejects the text; value is written only by the inner converter.
  bool Parse(const wchar_t* text, double* value) override;

 private:
  Plugin::Ref<Plugin::IAngleConverter> m_inner;
  // The rewritten text when it is too long for the stack, kept so its buffer is reused.
  std::wstring m_text;
};
