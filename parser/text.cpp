#include "parser/text.h"

#include <algorithm>
#include <string_view>
#include <utility>

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

std::wstring FormatMessage(std::wstring_view pattern,
                           std::initializer_list<std::wstring_view> arguments) {
  std::size_t length = pattern.size();
  for (const std::wstring_view argument : arguments) {
    length += argument.size();
  }
  std::wstring text;
  text.reserve(length);
  const auto argumentAt = [&arguments](std::size_t index) {
    return index < arguments.size() ? arguments.begin()[index] : std::wstring_view();
  };
  std::size_t nextInOrder = 0;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const wchar_t c = pattern[i];
    const wchar_t following = i + 1 < pattern.size() ? pattern[i + 1] : L'\0';
    if (c == L'%' && following == L's') {
      text += argumentAt(nextInOrder++);
      ++i;
    } else if (c == L'%' && following >= L'1' && following <= L'9' && i + 2 < pattern.size() &&
               pattern[i + 2] == L'%') {
      text += argumentAt(static_cast<std::size_t>(following - L'1'));
      i += 2;
    } else if (c == L'%' && following == L'%') {
      text += L'%';
      ++i;
    } else {
      text += c;
    }
  }
  return text;
}

std::wstring FormatMessage(const std::wstring& pattern, const std::wstring& argument) {
  return FormatMessage(pattern, std::initializer_list<std::wstring_view>{argument});
}

}  // namespace m5
