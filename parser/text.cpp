#include "parser/text.h"

#include <algorithm>
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

}  // namespace

std::wstring_view TrimmedView(std::wstring_view text, const CWhiteSpace& isSpace) {
  const auto [begin, end] = SpaceFreeRange(text, isSpace);
  return text.substr(begin, end - begin);
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
