#include "text/line_cursor.h"

#include <algorithm>
#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "text/decoders.h"

namespace m5::text {

namespace {

constexpr std::size_t kNone = std::string_view::npos;

// The first CR or LF byte at or after from. A survey line is a hundred bytes or more
// without either, so they are looked for sixteen bytes at a time where the CPU allows.
std::size_t FindCarriageReturnOrLineFeed(std::string_view text, std::size_t from) {
  const char* const data = text.data();
  const std::size_t n = text.size();
  std::size_t i = from;
#if defined(__SSE2__)
  const __m128i carriageReturn = _mm_set1_epi8('\r');
  const __m128i lineFeed = _mm_set1_epi8('\n');
  for (; i + 16 <= n; i += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
    const __m128i hits =
        _mm_or_si128(_mm_cmpeq_epi8(block, carriageReturn), _mm_cmpeq_epi8(block, lineFeed));
    if (_mm_movemask_epi8(hits) != 0) {
      break;  // the byte loop below finds it within these sixteen
    }
  }
#endif
  for (; i < n; ++i) {
    if (data[i] == '\r' || data[i] == '\n') {
      return i;
    }
  }
  return kNone;
}

// Text of one byte per character, where a line end is a CR or LF byte.
struct ByteText {
  static constexpr std::size_t kUnit = 1;

  std::size_t FindLineEnd(std::string_view text, std::size_t from) const {
    return FindCarriageReturnOrLineFeed(text, from);
  }
  bool IsUnitAt(std::string_view text, std::size_t offset, char ch) const {
    return offset < text.size() && text[offset] == ch;
  }
};

struct AnsiText : ByteText {
  Decoding Decode(std::string_view line, std::wstring& out) const { return AppendAnsi(line, out); }
};

struct Utf8Text : ByteText {
  Decoding Decode(std::string_view line, std::wstring& out) const { return AppendUtf8(line, out); }
};

struct Utf16Text {
  static constexpr std::size_t kUnit = 2;
  bool littleEndian;

  char32_t UnitAt(std::string_view text, std::size_t offset) const {
    const auto a = static_cast<unsigned char>(text[offset]);
    const auto b = static_cast<unsigned char>(text[offset + 1]);
    return littleEndian ? static_cast<char32_t>(a | (b << 8)) : static_cast<char32_t>((a << 8) | b);
  }
  bool IsUnitAt(std::string_view text, std::size_t offset, char ch) const {
    return offset + 1 < text.size() && UnitAt(text, offset) == static_cast<char32_t>(ch);
  }
  // from is always at the start of a unit. The search runs on the bytes; a CR or LF byte
  // ends a line when it is the low byte of a whole unit that is CR or LF (the low byte is
  // the first of a unit when little-endian).
  std::size_t FindLineEnd(std::string_view text, std::size_t from) const {
    const std::size_t lowByte = littleEndian ? 0 : 1;
    for (std::size_t at = FindCarriageReturnOrLineFeed(text, from + lowByte); at != kNone;
         at = FindCarriageReturnOrLineFeed(text, at + 1)) {
      const std::size_t unit = at - lowByte;
      if (unit % kUnit == 0 && (IsUnitAt(text, unit, '\r') || IsUnitAt(text, unit, '\n'))) {
        return unit;
      }
    }
    return kNone;
  }
  Decoding Decode(std::string_view line, std::wstring& out) const {
    return AppendUtf16(line, littleEndian, out);
  }
};

// Where the line after the line end at end starts: past its CR LF when the end is the pair.
template <typename Text>
std::size_t AfterLineEnd(std::string_view text, const Text& encoding, std::size_t end) {
  if (encoding.IsUnitAt(text, end, '\r') && encoding.IsUnitAt(text, end + Text::kUnit, '\n')) {
    return end + 2 * Text::kUnit;
  }
  return end + Text::kUnit;
}

template <typename Text>
std::size_t CountLines(std::string_view text, const Text& encoding) {
  std::size_t count = 0;
  std::size_t position = 0;
  for (std::size_t end = encoding.FindLineEnd(text, 0); end != kNone;
       end = encoding.FindLineEnd(text, position)) {
    ++count;
    position = AfterLineEnd(text, encoding, end);
  }
  return count + (position < text.size() ? 1 : 0);
}

// The line that starts at position, decoded into out; position moves past its line end.
template <typename Text>
Decoding DecodeNextLine(std::string_view text, const Text& encoding, std::size_t& position,
                        std::wstring& out) {
  const std::size_t end = encoding.FindLineEnd(text, position);
  const std::string_view line =
      text.substr(position, (end == kNone ? text.size() : end) - position);
  position = end == kNone ? text.size() : AfterLineEnd(text, encoding, end);
  return encoding.Decode(line, out);
}

}  // namespace

CLineCursor::CLineCursor(std::string_view bytes, EncodingSetting setting)
    : m_decided(DecideReading(bytes, setting)) {
  const std::string_view text = m_decided.text;
  switch (m_decided.reading) {
    case Reading::Ansi:
      m_count = CountLines(text, AnsiText{});
      return;
    case Reading::Utf8:
      m_count = CountLines(text, Utf8Text{});
      return;
    case Reading::Utf16LittleEndian:
    case Reading::Utf16BigEndian:
      break;
  }
  const Utf16Text utf16{m_decided.reading == Reading::Utf16LittleEndian};
  m_count = CountLines(text, utf16);
  // A transfer cut by one byte leaves half of the last line end alone after it.
  const std::size_t lastUnit = text.size() - 3;
  const bool halfUnitAlone =
      text.size() % 2 != 0 && text.size() >= 3 &&
      (utf16.IsUnitAt(text, lastUnit, '\r') || utf16.IsUnitAt(text, lastUnit, '\n'));
  if (halfUnitAlone && m_count > 1) {
    m_decided.text = text.substr(0, text.size() - 1);
    m_cutAfterLastLine = true;
    --m_count;
  }
}

const std::wstring& CLineCursor::Next() {
  m_line.clear();
  const std::string_view text = m_decided.text;
  Decoding decoding = Decoding::Exact;
  switch (m_decided.reading) {
    case Reading::Ansi:
      decoding = DecodeNextLine(text, AnsiText{}, m_position, m_line);
      break;
    case Reading::Utf8:
      decoding = DecodeNextLine(text, Utf8Text{}, m_position, m_line);
      break;
    case Reading::Utf16LittleEndian:
      decoding = DecodeNextLine(text, Utf16Text{true}, m_position, m_line);
      break;
    case Reading::Utf16BigEndian:
      decoding = DecodeNextLine(text, Utf16Text{false}, m_position, m_line);
      break;
  }
  if (m_cutAfterLastLine && ++m_read == m_count) {
    decoding = Decoding::Replaced;
  }
  m_firstMalformedLine = decoding == Decoding::Replaced && !m_malformedSeen;
  m_malformedSeen = m_malformedSeen || decoding == Decoding::Replaced;
  return m_line;
}

}  // namespace m5::text
