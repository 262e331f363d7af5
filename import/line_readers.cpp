#include "import/line_readers.h"

#include <algorithm>
#include <cstddef>

#include "import/unicode_text.h"
#include "platform/codepage.h"

namespace m5::import {

namespace {

constexpr std::size_t kNone = std::string_view::npos;

struct Utf8Text {
  static constexpr std::size_t kUnit = 1;

  std::size_t FindLineFeed(std::string_view text, std::size_t from) const {
    return text.find('\n', from);
  }
  bool EndsWithCarriageReturn(std::string_view line) const {
    return !line.empty() && line.back() == '\r';
  }
  void Decode(std::string_view line, std::wstring& out) const { AppendUtf8(line, out); }
};

struct Utf16Text {
  static constexpr std::size_t kUnit = 2;
  bool littleEndian;

  char32_t UnitAt(std::string_view text, std::size_t offset) const {
    const auto a = static_cast<unsigned char>(text[offset]);
    const auto b = static_cast<unsigned char>(text[offset + 1]);
    return littleEndian ? static_cast<char32_t>(a | (b << 8)) : static_cast<char32_t>((a << 8) | b);
  }
  // from is always at the start of a unit. The search runs on the LF's low byte, which is
  // the first of a unit when little-endian; a hit is a line end when the whole unit is LF.
  std::size_t FindLineFeed(std::string_view text, std::size_t from) const {
    const std::size_t lowByte = littleEndian ? 0 : 1;
    for (std::size_t at = text.find('\n', from + lowByte); at != kNone;
         at = text.find('\n', at + 1)) {
      const std::size_t unit = at - lowByte;
      if (unit % kUnit == 0 && unit + 1 < text.size() && UnitAt(text, unit) == U'\n') {
        return unit;
      }
    }
    return kNone;
  }
  bool EndsWithCarriageReturn(std::string_view line) const {
    return line.size() >= kUnit && UnitAt(line, line.size() - kUnit) == U'\r';
  }
  void Decode(std::string_view line, std::wstring& out) const {
    AppendUtf16(line, littleEndian, out);
  }
};

// One pass to size the list, one to fill it: the list never reallocates. Each line is
// decoded into a reused buffer first, which is sized for the worst case, so that the line
// itself holds no more than its characters (UTF-8 Cyrillic would otherwise waste half).
template <typename Text>
void SplitLines(std::string_view text, const Text& encoding, LineList& lines) {
  std::size_t count = 0;
  std::size_t lastEnd = 0;
  for (std::size_t lf = encoding.FindLineFeed(text, 0); lf != kNone;
       lf = encoding.FindLineFeed(text, lastEnd)) {
    ++count;
    lastEnd = lf + Text::kUnit;
  }
  lines.reserve(lines.size() + count + (lastEnd < text.size() ? 1 : 0));

  std::wstring decoded;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t lf = encoding.FindLineFeed(text, start);
    std::string_view line = text.substr(start, (lf == kNone ? text.size() : lf) - start);
    if (lf != kNone && encoding.EndsWithCarriageReturn(line)) {
      line.remove_suffix(Text::kUnit);
    }
    decoded.clear();
    encoding.Decode(line, decoded);
    lines.emplace_back(decoded);
    if (lf == kNone) {
      break;
    }
    start = lf + Text::kUnit;
  }
}

}  // namespace

void ReadLines8Bit(std::string_view bytes, LineList& lines) {
  const std::size_t lineFeeds =
      static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n'));
  const bool openLast = !bytes.empty() && bytes.back() != '\n';
  lines.reserve(lines.size() + lineFeeds + (openLast ? 1 : 0));

  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t lf = bytes.find('\n', start);
    std::string_view line = bytes.substr(start, (lf == kNone ? bytes.size() : lf) - start);
    const std::size_t nul = line.find('\0');
    if (nul != kNone) {
      line = line.substr(0, nul);
    }
    platform::AppendAnsiToWide(line.data(), line.size(), lines.emplace_back());
    if (lf == kNone) {
      break;
    }
    start = lf + 1;
  }
}

void ReadLinesUnicode(std::string_view bytes, LineList& lines) {
  const DetectedForm detected = DetectUnicodeForm(bytes);
  const std::string_view text = bytes.substr(detected.markLength);
  switch (detected.form) {
    case UnicodeForm::Utf8:
      SplitLines(text, Utf8Text{}, lines);
      return;
    case UnicodeForm::Utf16LittleEndian:
      SplitLines(text, Utf16Text{true}, lines);
      return;
    case UnicodeForm::Utf16BigEndian:
      SplitLines(text, Utf16Text{false}, lines);
      return;
  }
}

}  // namespace m5::import
