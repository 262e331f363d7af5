#include "parser/text.h"

#include <algorithm>
#include <locale>
#include <string_view>
#include <utility>

#include <boost/format.hpp>

namespace m5 {

namespace {

// Where text stops being white space at both ends: [begin, end).
template <typename IsSpace>
std::pair<std::size_t, std::size_t> SpaceFreeRange(std::wstring_view text, const IsSpace& isSpace) {
  std::size_t end = text.size();
  while (end > 0 && isSpace(text[end - 1])) {
    --end;
  }
  std::size_t begin = 0;
  while (begin < end && isSpace(text[begin])) {
    ++begin;
  }
  return {begin, end};
}

// The locale's own answer, for callers that hold no table.
struct FacetSpace {
  const std::ctype<wchar_t>& ctype;
  bool operator()(wchar_t c) const { return ctype.is(std::ctype_base::space, c); }
};

const std::ctype<wchar_t>& UserCtype(const std::locale& locale) {
  return std::use_facet<std::ctype<wchar_t>>(locale);
}

}  // namespace

void TrimSpace(std::wstring& text) {
  if (text.empty()) {
    return;
  }
  const std::locale locale;
  const auto [begin, end] = SpaceFreeRange(text, FacetSpace{UserCtype(locale)});
  text.erase(end);
  text.erase(0, begin);
}

void TrimSpace(std::wstring& text, const CWhiteSpace& isSpace) {
  const auto [begin, end] = SpaceFreeRange(text, isSpace);
  text.erase(end);
  text.erase(0, begin);
}

std::wstring_view TrimmedView(std::wstring_view text, const CWhiteSpace& isSpace) {
  const auto [begin, end] = SpaceFreeRange(text, isSpace);
  return text.substr(begin, end - begin);
}

std::wstring CutTrimmed(const std::wstring& text, std::int32_t start, std::int32_t length) {
  const std::locale locale;
  const CWhiteSpace isSpace(UserCtype(locale));
  return CutTrimmed(text, start, length, isSpace);
}

std::wstring CutTrimmed(const std::wstring& text, std::int32_t start, std::int32_t length,
                        const CWhiteSpace& isSpace) {
  return std::wstring(CutTrimmedView(text, start, length, isSpace));
}

std::wstring_view CutTrimmedView(std::wstring_view text, std::int32_t start, std::int32_t length,
                                 const CWhiteSpace& isSpace) {
  // The layout comes from the settings store unchecked; 64-bit keeps start + length exact.
  const std::int64_t size = static_cast<std::int64_t>(text.size());
  const std::int64_t begin = static_cast<std::int64_t>(start) - 1;
  if (begin < 0 || length < 1 || begin >= size) {
    return {};
  }
  const std::int64_t count = std::min<std::int64_t>(length, size - begin);
  const std::wstring_view cut =
      text.substr(static_cast<std::size_t>(begin), static_cast<std::size_t>(count));
  const auto [first, last] = SpaceFreeRange(cut, isSpace);
  return cut.substr(first, last - first);
}

std::wstring FormatMessage(const std::wstring& pattern, const std::wstring& argument) {
  boost::wformat format;
  format.exceptions(boost::io::no_error_bits);
  format.parse(pattern);
  format % argument;
  return format.str();
}

}  // namespace m5
