// The shape of an M5 line: "|"-separated fields, of which the first is the format
// identifier and the third the information block (a two-character record type, two
// characters of no meaning, then the information text). Compared a character at a time,
// since every line of a file asks.
#pragma once

#include <cstddef>
#include <string_view>

namespace m5::text {

inline constexpr wchar_t kFieldSeparator = L'|';

// The point-identification text of a point record: its first 27 characters hold the
// point's name and code (where, the layout settings say).
inline constexpr int kPointIdWidth = 27;

// "For" + any one character + "M5", as in "For M5" or "For_M5"; exact, not trimmed.
constexpr bool IsFormatIdentifier(std::wstring_view field) {
  return field.size() == 6 && field[0] == L'F' && field[1] == L'o' && field[2] == L'r' &&
         field[4] == L'M' && field[5] == L'5';
}

// "END", the identifier of a file's closing lines.
constexpr bool IsEndIdentifier(std::wstring_view field) {
  return field.size() == 3 && field[0] == L'E' && field[1] == L'N' && field[2] == L'D';
}

// The record type of an information block, and the text after its four-character prefix.
constexpr std::wstring_view RecordType(std::wstring_view block) {
  return block.substr(0, 2);
}
constexpr std::wstring_view RecordText(std::wstring_view block) {
  return block.substr(block.size() < 4 ? block.size() : 4);
}

constexpr bool IsRecordType(std::wstring_view type, wchar_t first, wchar_t second) {
  return type.size() == 2 && type[0] == first && type[1] == second;
}

// A point: PI, KR or KD, each with a point-identification text.
constexpr bool IsPointRecord(std::wstring_view type) {
  return IsRecordType(type, L'P', L'I') || IsRecordType(type, L'K', L'R') ||
         IsRecordType(type, L'K', L'D');
}

// A text: TI, TR or TG (keywords, sections, remarks).
constexpr bool IsTextRecord(std::wstring_view type) {
  return IsRecordType(type, L'T', L'I') || IsRecordType(type, L'T', L'R') ||
         IsRecordType(type, L'T', L'G');
}

}  // namespace m5::text
