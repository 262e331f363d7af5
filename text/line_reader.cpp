#include "text/line_reader.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "text/decoders.h"

namespace m5::text {

namespace {

constexpr std::size_t kNone = std::string_view::npos;
constexpr char kEndMark = '\x1A';

using Window = CLineReader::Window;

// The first CR or LF byte at or after from, or 0x1A as well where it ends the text. A survey
// line is a hundred bytes or more without any of them, so they are looked for sixteen bytes
// at a time where the CPU allows.
template <bool kStopsAtEndMark>
std::size_t FindLineEndByte(std::string_view text, std::size_t from) {
  const char* const data = text.data();
  const std::size_t n = text.size();
  std::size_t i = from;
#if defined(__SSE2__)
  const __m128i carriageReturn = _mm_set1_epi8('\r');
  const __m128i lineFeed = _mm_set1_epi8('\n');
  const __m128i endMark = _mm_set1_epi8(kEndMark);
  for (; i + 16 <= n; i += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
    __m128i hits =
        _mm_or_si128(_mm_cmpeq_epi8(block, carriageReturn), _mm_cmpeq_epi8(block, lineFeed));
    if constexpr (kStopsAtEndMark) {
      hits = _mm_or_si128(hits, _mm_cmpeq_epi8(block, endMark));
    }
    if (_mm_movemask_epi8(hits) != 0) {
      break;  // the byte loop below finds it within these sixteen
    }
  }
#endif
  for (; i < n; ++i) {
    if (data[i] == '\r' || data[i] == '\n' || (kStopsAtEndMark && data[i] == kEndMark)) {
      return i;
    }
  }
  return kNone;
}

// Text of one byte per character, where a line end is a CR or LF byte.
struct ByteText {
  static constexpr std::size_t kUnit = 1;

  bool IsUnitAt(std::string_view text, std::size_t offset, char ch) const {
    return offset < text.size() && text[offset] == ch;
  }
};

// 8-bit text ends at its first 0x1A, as the instrument's transfer software expects.
struct AnsiText : ByteText {
  static constexpr bool kStopsAtEndMark = true;
  std::size_t FindLineEnd(std::string_view text, std::size_t from) const {
    return FindLineEndByte<true>(text, from);
  }
  Decoding Decode(std::string_view line, std::wstring& out) const { return AppendAnsi(line, out); }
};

struct Utf8Text : ByteText {
  static constexpr bool kStopsAtEndMark = false;
  std::size_t FindLineEnd(std::string_view text, std::size_t from) const {
    return FindLineEndByte<false>(text, from);
  }
  Decoding Decode(std::string_view line, std::wstring& out) const { return AppendUtf8(line, out); }
};

struct Utf16Text {
  static constexpr std::size_t kUnit = 2;
  static constexpr bool kStopsAtEndMark = false;
  bool littleEndian;

  char32_t UnitAt(std::string_view text, std::size_t offset) const {
    const auto a = static_cast<unsigned char>(text[offset]);
    const auto b = static_cast<unsigned char>(text[offset + 1]);
    return littleEndian ? static_cast<char32_t>(a | (b << 8)) : static_cast<char32_t>((a << 8) | b);
  }
  bool IsUnitAt(std::string_view text, std::size_t offset, char ch) const {
    return offset + 1 < text.size() && UnitAt(text, offset) == static_cast<char32_t>(ch);
  }
  // Offsets from the start of text are whole units, and from is one. The search runs on the
  // bytes; a CR or LF byte ends a line when it is the low byte of a whole unit that is CR
  // or LF (the low byte is the first of a unit when little-endian).
  std::size_t FindLineEnd(std::string_view text, std::size_t from) const {
    const std::size_t lowByte = littleEndian ? 0 : 1;
    for (std::size_t at = FindLineEndByte<false>(text, from + lowByte); at != kNone;
         at = FindLineEndByte<false>(text, at + 1)) {
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

// Calls use with the text of the reading.
template <typename Use>
decltype(auto) WithTextOf(Reading reading, Use&& use) {
  switch (reading) {
    case Reading::Utf8:
      return use(Utf8Text{});
    case Reading::Utf16LittleEndian:
      return use(Utf16Text{true});
    case Reading::Utf16BigEndian:
      return use(Utf16Text{false});
    case Reading::Ansi:
      break;
  }
  return use(AnsiText{});
}

}  // namespace

bool EndsAtLineEnd(std::string_view bytes, const DecidedReading& decided) {
  const std::string_view text = bytes.substr(std::min(decided.markLength, bytes.size()));
  return WithTextOf(decided.reading, [text](const auto& reading) {
    constexpr std::size_t kUnit = std::remove_reference_t<decltype(reading)>::kUnit;
    const std::size_t whole = text.size() - text.size() % kUnit;
    if (whole == 0) {
      return false;
    }
    const std::size_t last = whole - kUnit;
    return reading.IsUnitAt(text, last, '\r') || reading.IsUnitAt(text, last, '\n');
  });
}

namespace {

// The line being cut moves to the window's start, so that a window holds at most the
// longest line and a chunk, and the next chunk follows it.
void Refill(Window& w, IByteSource& source, std::size_t chunkBytes) {
  if (w.begin > 0) {
    std::memmove(w.bytes.data(), w.bytes.data() + w.begin, w.end - w.begin);
    w.end -= w.begin;
    w.scanned -= w.begin;
    w.begin = 0;
  }
  if (w.bytes.size() < w.end + chunkBytes) {
    w.bytes.resize(w.end + chunkBytes);
  }
  const std::size_t got = source.Read(w.bytes.data() + w.end, chunkBytes);
  w.end += got;
  w.sourceEnded = got == 0;
}

// The last line without the 0x1A bytes that pad the end of a file; in 16-bit text from a
// unit's start on, so that a last letter holding the byte 0x1A (U+041A big-endian) stays.
std::string_view WithoutPadding(std::string_view line, std::size_t unit) {
  std::size_t end = line.size();
  while (end > 0 && line[end - 1] == kEndMark) {
    --end;
  }
  end += end % unit;
  return line.substr(0, std::min(end, line.size()));
}

// The next line's bytes in the window, or nothing after the last; position moves past its
// line end.
template <typename Text>
std::optional<std::string_view> NextLineBytes(Window& w, IByteSource& source, const Text& text,
                                              std::size_t chunkBytes) {
  if (w.endMark) {
    return std::nullopt;
  }
  for (;;) {
    const std::string_view held(w.bytes.data(), w.end);
    const std::size_t at = text.FindLineEnd(held, w.scanned);
    if (at != kNone && Text::kStopsAtEndMark && held[at] == kEndMark) {
      // The text before the 0x1A on its line is the last line, if there is any.
      const std::string_view line = held.substr(w.begin, at - w.begin);
      w.begin = w.scanned = at;
      w.endMark = true;
      return line.empty() ? std::nullopt : std::optional<std::string_view>(line);
    }
    // A CR at the end of what is held may be the first half of CR LF.
    const bool crAtEdge = at != kNone && text.IsUnitAt(held, at, '\r') &&
                          at + 2 * Text::kUnit > w.end && !w.sourceEnded;
    if (at != kNone && !crAtEdge) {
      const std::string_view line = held.substr(w.begin, at - w.begin);
      const bool crLf =
          text.IsUnitAt(held, at, '\r') && text.IsUnitAt(held, at + Text::kUnit, '\n');
      w.begin = w.scanned = at + (crLf ? 2 : 1) * Text::kUnit;
      return line;
    }
    if (!w.sourceEnded) {
      w.scanned = crAtEdge ? at : w.begin + (w.end - w.begin) / Text::kUnit * Text::kUnit;
      Refill(w, source, chunkBytes);
      continue;
    }
    const std::string_view line = WithoutPadding(held.substr(w.begin), Text::kUnit);
    w.begin = w.scanned = w.end;
    return line.empty() ? std::nullopt : std::optional<std::string_view>(line);
  }
}

// What follows a 0x1A in 8-bit text holds text when it is more than padding, blank lines
// and NULs.
bool HoldsText(std::string_view rest) {
  return rest.find_first_not_of(std::string_view("\x1A\0\r\n \t", 6)) != kNone;
}

DecidedReading Decide(IByteSource& source, EncodingSetting setting) {
  std::string start(kDecidingBytes, '\0');
  std::size_t held = 0;
  for (std::size_t got = 1; got != 0 && held < start.size(); held += got) {
    got = source.Read(start.data() + held, start.size() - held);
  }
  start.resize(held);
  return DecideReading(start, setting);
}

}  // namespace

CLineReader::CLineReader(IByteSource& source, EncodingSetting setting, std::size_t chunkBytes)
    : m_source(source),
      m_chunkBytes(std::max<std::size_t>(chunkBytes, 1)),
      m_decided(Decide(source, setting)) {
  // The first pass: line ends counted on the bytes, nothing decoded and nothing kept.
  Start();
  WithTextOf(m_decided.reading, [this](const auto& text) {
    while (const std::optional<std::string_view> line =
               NextLineBytes(m_window, m_source, text, m_chunkBytes)) {
      // A transfer cut by one byte leaves half of the last line end alone after it.
      const bool halfUnitAlone = text.kUnit == 2 && line->size() == 1 && m_window.sourceEnded &&
                                 m_window.begin == m_window.end;
      if (halfUnitAlone && m_count > 0) {
        m_cutAfterLastLine = true;
        break;
      }
      ++m_count;
    }
  });
  if (m_window.endMark) {
    bool holdsText = false;
    for (;;) {
      const std::string_view rest(m_window.bytes.data() + m_window.begin,
                                  m_window.end - m_window.begin);
      m_unreadBytes += rest.size();
      holdsText = holdsText || HoldsText(rest);
      if (rest.empty() && m_window.sourceEnded) {
        break;
      }
      m_window.begin = m_window.scanned = m_window.end;
      Refill(m_window, m_source, m_chunkBytes);
    }
    m_unreadBytes = holdsText ? m_unreadBytes : 0;
  }
  Start();
}

void CLineReader::Start() {
  m_source.Rewind();
  m_window.begin = m_window.end = m_window.scanned = 0;
  m_window.sourceEnded = m_window.endMark = false;
  // The mark is no text.
  while (m_window.end < m_decided.markLength && !m_window.sourceEnded) {
    Refill(m_window, m_source, m_chunkBytes);
  }
  m_window.begin = m_window.scanned = std::min(m_decided.markLength, m_window.end);
}

const std::wstring* CLineReader::Next() {
  if (m_read == m_count) {
    return nullptr;
  }
  m_line.clear();
  const std::optional<Decoding> decoding =
      WithTextOf(m_decided.reading, [this](const auto& text) -> std::optional<Decoding> {
        const std::optional<std::string_view> line =
            NextLineBytes(m_window, m_source, text, m_chunkBytes);
        if (!line) {
          return std::nullopt;
        }
        return text.Decode(*line, m_line);
      });
  if (!decoding) {
    m_read = m_count;
    return nullptr;
  }
  ++m_read;
  const bool malformed =
      *decoding == Decoding::Replaced || (m_cutAfterLastLine && m_read == m_count);
  m_firstMalformedLine = malformed && !m_malformedSeen;
  m_malformedSeen = m_malformedSeen || malformed;
  return &m_line;
}

}  // namespace m5::text
