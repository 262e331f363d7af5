// Cells of delimited text files (CSV and point files).
#pragma once

#include <ostream>
#include <string>

#include "host/outputs/output_options.h"

namespace m5host {

// The UTF-8 byte order mark when chosen, for spreadsheets that guess the encoding otherwise.
void WriteByteOrderMark(std::ostream& out, ByteOrderMark mark);

// A text cell a spreadsheet would run as a formula (starting with = + - @, or a tab or
// carriage return that hides one) gets a leading apostrophe, so it stays text.
std::string SpreadsheetText(const std::string& text);

// A text quoted when it holds the delimiter, a quote or a line break; quotes doubled.
std::string QuotedCell(const std::string& text, char delimiter);

}  // namespace m5host
