// Texts in the trace and in JSON: one quoting rule, two spellings of control characters.
#include <gtest/gtest.h>

#include "host/sinks/trace_format.h"

namespace {

using m5host::ControlEscape;
using m5host::QuoteEscaped;

TEST(Quoting, EscapesTheSameCharactersInTraceAndJson) {
  struct Case {
    const char* text;
    const char* trace;
    const char* json;
  };
  const Case cases[] = {
      {"S1", "\"S1\"", "\"S1\""},
      {"a\"b\\c", "\"a\\\"b\\\\c\"", "\"a\\\"b\\\\c\""},
      {"line\nbreak\r\ttab", "\"line\\nbreak\\r\\ttab\"", "\"line\\nbreak\\r\\ttab\""},
      {"\x01\x1F", "\"\\x01\\x1F\"", "\"\\u0001\\u001f\""},
      {"Репер 5", "\"Репер 5\"", "\"Репер 5\""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(QuoteEscaped(c.text, ControlEscape::Trace), c.trace) << c.text;
    EXPECT_EQ(QuoteEscaped(c.text, ControlEscape::Json), c.json) << c.text;
  }
  EXPECT_EQ(m5host::QuoteText(nullptr), "null");
}

}  // namespace
