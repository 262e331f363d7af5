// Texts in the trace and in JSON: one quoting rule, two spellings of control characters.
// Cells of CSV and point files: quoted as CSV readers expect, formulas kept from running.
#include <gtest/gtest.h>

#include "host/outputs/delimited_text.h"
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

TEST(Quoting, DelimitedCellsReadBackAsWritten) {
  struct Case {
    const char* text;
    char delimiter;
    const char* cell;
  };
  const Case cases[] = {
      {"PIPE", ',', "PIPE"},           {"a,b", ',', "\"a,b\""},    {"a,b", ';', "a,b"},
      {"x;y", ';', "\"x;y\""},         {"t\tu", '\t', "\"t\tu\""}, {"A\"1", ';', "\"A\"\"1\""},
      {"\"Q\"", ',', "\"\"\"Q\"\"\""}, {"=1+1", ',', "'=1+1"},     {"-5", ',', "'-5"},
      {"@x,y", ',', "\"'@x,y\""},      {"a=b", ',', "a=b"},        {"", ',', ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(m5host::QuotedCell(m5host::SpreadsheetText(c.text), c.delimiter), c.cell) << c.text;
  }
}

}  // namespace
