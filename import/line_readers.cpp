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

template <typename Text>
std::size_t CountLines(std::string_view text, const Text& encoding) {
  std::size_t count = 0;
  std::size_t lastEnd = 0;
  for (std::size_t lf = encoding.FindLineFeed(text, 0); lf != kNone;
       lf = encoding.FindLineFeed(text, lastEnd)) {
    ++count;
    lastEnd = lf + Text::kUnit;
  }
  return count + (lastEnd < text.size() ? 1 : 0);
}

// The line that starts at position, decoded into out; position moves past its LF.
template <typename Text>
void DecodeNextLine(std::string_view text, const Text& encoding, std::size_t& position,
                    std::wstring& out) {
  const std::size_t lf = encoding.FindLineFeed(text, position);
  std::string_view line = text.substr(position, (lf == kNone ? text.size() : lf) - position);
  if (lf != kNone && encoding.EndsWithCarriageReturn(line)) {
    line.remove_suffix(Text::kUnit);
  }
  encoding.Decode(line, out);
  position = lf == kNone ? text.size() : lf + Text::kUnit;
}

}  // namespace

CLineCursor::CLineCursor(std::string_view bytes, bool ansi) : m_text(bytes), m_form(Form::Ansi) {
  if (ansi) {
    std::size_t lineFeeds = 0;
    for (std::size_t lf = bytes.find('\n'); lf != kNone; lf = bytes.find('\n', lf + 1)) {
      ++lineFeeds;
    }
    const bool openLast = !bytes.empty() && bytes.back() != '\n';
    m_count = lineFeeds + (openLast ? 1 : 0);
    return;
  }
  const DetectedForm detected = DetectUnicodeForm(bytes);
  m_text = bytes.substr(detected.markLength);
  switch (detected.form) {
    case UnicodeForm::Utf8:
      m_form = Form::Utf8;
      m_count = CountLines(m_text, Utf8Text{});
      return;
    case UnicodeForm::Utf16LittleEndian:
      m_form = Form::Utf16LittleEndian;
      m_count = CountLines(m_text, Utf16Text{true});
      return;
    case UnicodeForm::Utf16BigEndian:
      m_form = Form::Utf16BigEndian;
      m_count = CountLines(m_text, Utf16Text{false});
      return;
  }
}

const std::wstring& CLineCursor::Next() {
  m_line.clear();
  switch (m_form) {
    case Form::Ansi: {
      const std::size_t lf = m_text.find('\n', m_position);
      std::string_view line =
          m_text.substr(m_position, (lf == kNone ? m_text.size() : lf) - m_position);
      const std::size_t nul = line.find('\0');
      if (nul != kNone) {
        line = line.substr(0, nul);
      }
      platform::AppendAnsiToWide(line.data(), line.size(), m_line);
      m_position = lf == kNone ? m_text.size() : lf + 1;
      break;
    }
    case Form::Utf8:
      DecodeNextLine(m_text, Utf8Text{}, m_position, m_line);
      break;
    case Form::Utf16LittleEndian:
      DecodeNextLine(m_text, Utf16Text{true}, m_position, m_line);
      break;
    case Form::Utf16BigEndian:
      DecodeNextLine(m_text, Utf16Text{false}, m_position, m_line);
      break;
  }
  return m_line;
}

namespace {

// The cursor's line is decoded into a buffer sized for the worst case; the copy holds no
// more than its characters (UTF-8 Cyrillic would otherwise waste half).
void ReadAll(std::string_view bytes, bool ansi, LineList& lines) {
  CLineCursor cursor(bytes, ansi);
  lines.reserve(lines.size() + cursor.Count());
  for (std::size_t i = 0; i < cursor.Count(); ++i) {
    lines.emplace_back(cursor.Next());
  }
}

}  // namespace

void ReadLines8Bit(std::string_view bytes, LineList& lines) {
  ReadAll(bytes, true, lines);
}

void ReadLinesUnicode(std::string_view bytes, LineList& lines) {
  ReadAll(bytes, false, lines);
}

}  // namespace m5::import
