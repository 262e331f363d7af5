// Angles written D.MMSSFF in M5 records, handed to the host's converter as D.MM.SS.FF.
#pragma once

#include <cstddef>
#include <string>

#include "sdk/plugin_interfaces.h"
#include "sdk/ref.h"
#include "sdk/ref_counted.h"

class CAngleDMSConverter : public Plugin::CRefCountedImpl<Plugin::IAngleConverter, 0> {
 public:
  // Takes a reference of its own on inner, which may be null.
  explicit CAngleDMSConverter(Plugin::IAngleConverter* inner);

  // Inserts the separators by position after the first point and lets the inner converter
  // read the result. A short value (whole degrees, or fewer than four digits after the
  // point) is first completed with zeros, so "12.3" is 12°30'00". False for an empty text
  // or one without a point that is not whole degrees, without an inner converter, when the
  // inner converter rejects the text or throws; value is written only by the inner converter.
  bool Parse(const wchar_t* text, double* value) override;

 private:
  // The text to pass on, written to local when it fits there, else to m_text; null when
  // there is nothing to pass on.
  const wchar_t* Rewrite(const wchar_t* text, wchar_t* local, std::size_t localSize);

  Plugin::Ref<Plugin::IAngleConverter> m_inner;
  // The rewritten text when it is too long for the stack, kept so its buffer is reused.
  std::wstring m_text;
};
