#include "import/line_readers.h"

#include <algorithm>
#include <cstddef>
#include <optional>

#include "import/unicode_text.h"
#include "platform/codepage.h"

namespace m5::import {

namespace {

constexpr std::size_t kNone = std::string_view::npos;

// 8-bit text after text mode. Text mode has made each CR LF an LF, so a CR that still
// stands before an LF stood before another CR LF in the file: every CR and every LF ends a
// line, and the line numbers stay those of the file.
struct AnsiText {
  static constexpr std::size_t kUnit = 1;
  static constexpr bool kCrLfIsOneEnd = false;

  std::size_t Find(std::string_view text, std::size_t from, char ch) const {
    return text.find(ch, from);
  }
  bool IsLineFeedAt(std::string_view, std::size_t) const { return false; }
  Decoding Decode(std::string_view line, std::wstring& out) const {
    const std::size_t start = out.size();
    platform::AppendAnsiToWide(line.data(), line.size(), out);
    if (line.find('\0') == kNone) {
      return Decoding::Exact;
    }
    std::replace(out.begin() + static_cast<std::ptrdiff_t>(start), out.end(), L'\0', L'\uFFFD');
    return Decoding::Replaced;
  }
};

struct Utf8Text {
  static constexpr std::size_t kUnit = 1;
  static constexpr bool kCrLfIsOneEnd = true;

  std::size_t Find(std::string_view text, std::size_t from, char ch) const {
    return text.find(ch, from);
  }
  bool IsLineFeedAt(std::string_view text, std::size_t offset) const {
    return offset < text.size() && text[offset] == '\n';
  }
  Decoding Decode(std::string_view line, std::wstring& out) const { return AppendUtf8(line, out); }
};

struct Utf16Text {
  static constexpr std::size_t kUnit = 2;
  static constexpr bool kCrLfIsOneEnd = true;
  bool littleEndian;

  char32_t UnitAt(std::string_view text, std::size_t offset) const {
    const auto a = static_cast<unsigned char>(text[offset]);
    const auto b = static_cast<unsigned char>(text[offset + 1]);
    return littleEndian ? static_cast<char32_t>(a | (b << 8)) : static_cast<char32_t>((a << 8) | b);
  }
  // The whole unit of an ASCII character ch at or after from, which is always at the start
  // of a unit. The search runs on ch's byte, which is the first of a unit when
  // little-endian; a hit counts when it stands in a unit of its own and that unit is ch.
  std::size_t Find(std::string_view text, std::size_t from, char ch) const {
    const std::size_t lowByte = littleEndian ? 0 : 1;
    for (std::size_t at = text.find(ch, from + lowByte); at != kNone; at = text.find(ch, at + 1)) {
      const std::size_t unit = at - lowByte;
      if (unit % kUnit == 0 && unit + 1 < text.size() &&
          UnitAt(text, unit) == static_cast<char32_t>(ch)) {
        return unit;
      }
    }
    return kNone;
  }
  bool IsLineFeedAt(std::string_view text, std::size_t offset) const {
    return offset + 1 < text.size() && UnitAt(text, offset) == U'\n';
  }
  Decoding Decode(std::string_view line, std::wstring& out) const {
    return AppendUtf16(line, littleEndian, out);
  }
};

template <typename Text>
std::size_t CountLines(std::string_view text, const Text& encoding) {
  std::size_t ends = 0;
  std::size_t afterLastEnd = 0;
  for (std::size_t lf = encoding.Find(text, 0, '\n'); lf != kNone;
       lf = encoding.Find(text, lf + Text::kUnit, '\n')) {
    ++ends;
    afterLastEnd = lf + Text::kUnit;
  }
  for (std::size_t cr = encoding.Find(text, 0, '\r'); cr != kNone;
       cr = encoding.Find(text, cr + Text::kUnit, '\r')) {
    // The LF of a CR LF pair has been counted already.
    if (!Text::kCrLfIsOneEnd || !encoding.IsLineFeedAt(text, cr + Text::kUnit)) {
      ++ends;
      afterLastEnd = std::max(afterLastEnd, cr + Text::kUnit);
    }
  }
  return ends + (afterLastEnd < text.size() ? 1 : 0);
}

// The line that starts at scan.position, decoded into out; the scan moves past its end.
template <typename Text, typename Scan>
Decoding DecodeNextLine(std::string_view text, const Text& encoding, Scan& scan,
                        std::wstring& out) {
  if (scan.nextCarriageReturn < scan.position) {
    scan.nextCarriageReturn = encoding.Find(text, scan.position, '\r');
  }
  if (scan.nextLineFeed < scan.position) {
    scan.nextLineFeed = encoding.Find(text, scan.position, '\n');
  }
  const std::size_t end = std::min(scan.nextCarriageReturn, scan.nextLineFeed);
  const std::string_view line =
      text.substr(scan.position, (end == kNone ? text.size() : end) - scan.position);
  if (end == kNone) {
    scan.position = text.size();
  } else if (Text::kCrLfIsOneEnd && end == scan.nextCarriageReturn &&
             scan.nextLineFeed == end + Text::kUnit) {
    scan.position = scan.nextLineFeed + Text::kUnit;
  } else {
    scan.position = end + Text::kUnit;
  }
  return encoding.Decode(line, out);
}

template <typename Text, typename Scan>
void StartScan(std::string_view text, const Text& encoding, Scan& scan) {
  scan.nextCarriageReturn = encoding.Find(text, 0, '\r');
  scan.nextLineFeed = encoding.Find(text, 0, '\n');
}

}  // namespace

CLineCursor::CLineCursor(std::string_view bytes, bool ansi) : m_text(bytes), m_form(Form::Ansi) {
  const std::optional<DetectedForm> marked = DetectByteOrderMark(bytes);
  if (ansi && !marked) {
    m_count = CountLines(m_text, AnsiText{});
    StartScan(m_text, AnsiText{}, m_scan);
    return;
  }
  const DetectedForm detected = marked ? *marked : DetectUnicodeForm(bytes);
  m_text = bytes.substr(detected.markLength);
  switch (detected.form) {
    case UnicodeForm::Utf8:
      m_form = Form::Utf8;
      m_count = CountLines(m_text, Utf8Text{});
      StartScan(m_text, Utf8Text{}, m_scan);
      return;
    case UnicodeForm::Utf16LittleEndian:
      m_form = Form::Utf16LittleEndian;
      m_count = CountLines(m_text, Utf16Text{true});
      StartScan(m_text, Utf16Text{true}, m_scan);
      return;
    case UnicodeForm::Utf16BigEndian:
      m_form = Form::Utf16BigEndian;
      m_count = CountLines(m_text, Utf16Text{false});
      StartScan(m_text, Utf16Text{false}, m_scan);
      return;
  }
}

const std::wstring& CLineCursor::Next() {
  m_line.clear();
  Decoding decoding = Decoding::Exact;
  switch (m_form) {
    case Form::Ansi:
      decoding = DecodeNextLine(m_text, AnsiText{}, m_scan, m_line);
      break;
    case Form::Utf8:
      decoding = DecodeNextLine(m_text, Utf8Text{}, m_scan, m_line);
      break;
    case Form::Utf16LittleEndian:
      decoding = DecodeNextLine(m_text, Utf16Text{true}, m_scan, m_line);
      break;
    case Form::Utf16BigEndian:
      decoding = DecodeNextLine(m_text, Utf16Text{false}, m_scan, m_line);
      break;
  }
  m_firstMalformedLine = decoding == Decoding::Replaced && !m_malformedSeen;
  m_malformedSeen = m_malformedSeen || decoding == Decoding::Replaced;
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
