#include "text/decoders.h"

#include <algorithm>
#include <cstddef>

#include "platform/codepage.h"

namespace m5::text {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char32_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char32_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

Decoding AppendAnsi(std::string_view bytes, std::wstring& out) {
  const std::size_t start = out.size();
  platform::AppendAnsiToWide(bytes.data(), bytes.size(), out);
  if (bytes.find('\0') == std::string_view::npos) {
    return Decoding::Exact;
  }
  std::replace(out.begin() + static_cast<std::ptrdiff_t>(start), out.end(), L'\0', L'\uFFFD');
  return Decoding::Replaced;
}

wchar_t* PutCodePoint(char32_t cp, wchar_t* out) {
  if constexpr (sizeof(wchar_t) == 2) {
    if (cp >= 0x10000) {
      cp -= 0x10000;
      *out++ = static_cast<wchar_t>(0xD800 + (cp >> 10));
      *out++ = static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
      return out;
    }
  }
  *out++ = static_cast<wchar_t>(cp);
  return out;
}

Decoding AppendUtf8(std::string_view bytes, std::wstring& out) {
  // Never more characters than bytes, also with surrogate pairs (four bytes give two).
  const std::size_t start = out.size();
  out.resize(start + bytes.size());
  wchar_t* const first = out.data() + start;
  wchar_t* put = first;

  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t n = bytes.size();
  Decoding decoding = Decoding::Exact;
  std::size_t i = 0;
  while (i < n) {
    const unsigned char lead = p[i];
    // ASCII but NUL, which no survey text holds; it falls to the replacement below.
    if (lead != 0 && lead < 0x80) {
      *put++ = static_cast<wchar_t>(lead);
      ++i;
      continue;
    }
    // The well-formed sequences of the Unicode standard: the second byte's range is
    // narrowed after E0, ED, F0 and F4 to shut out overlong forms, surrogates and code
    // points past U+10FFFF.
    std::size_t length = 0;
    char32_t cp = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
      cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      cp = lead & 0x0F;
      low = lead == 0xE0 ? 0xA0 : 0x80;
      high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      cp = lead & 0x07;
      low = lead == 0xF0 ? 0x90 : 0x80;
      high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
      put = PutCodePoint(kReplacement, put);
      decoding = Decoding::Replaced;
      ++i;
      continue;
    }
    std::size_t taken = 1;
    while (taken < length && i + taken < n) {
      const unsigned char next = p[i + taken];
      if (next < low || next > high) {
        break;
      }
      cp = (cp << 6) | (next & 0x3F);
      low = 0x80;
      high = 0xBF;
      ++taken;
    }
    // A broken sequence gives one U+FFFD for the bytes that began it; the byte that
    // broke it starts afresh.
    if (taken == length) {
      put = PutCodePoint(cp, put);
    } else {
      put = PutCodePoint(kReplacement, put);
      decoding = Decoding::Replaced;
    }
    i += taken;
  }
  out.resize(start + static_cast<std::size_t>(put - first));
  return decoding;
}

Decoding AppendUtf16(std::string_view bytes, bool littleEndian, std::wstring& out) {
  const std::size_t units = bytes.size() / 2;
  const bool oddByte = bytes.size() % 2 != 0;
  const std::size_t start = out.size();
  out.resize(start + units + (oddByte ? 1 : 0));
  wchar_t* const first = out.data() + start;
  wchar_t* put = first;

  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const auto unitAt = [p, littleEndian](std::size_t k) -> char32_t {
    const unsigned char a = p[2 * k];
    const unsigned char b = p[2 * k + 1];
    return littleEndian ? static_cast<char32_t>(a | (b << 8)) : static_cast<char32_t>((a << 8) | b);
  };
  Decoding decoding = oddByte ? Decoding::Replaced : Decoding::Exact;
  for (std::size_t k = 0; k < units; ++k) {
    const char32_t unit = unitAt(k);
    if (IsHighSurrogate(unit) && k + 1 < units && IsLowSurrogate(unitAt(k + 1))) {
      const char32_t cp = 0x10000 + ((unit - 0xD800) << 10) + (unitAt(k + 1) - 0xDC00);
      put = PutCodePoint(cp, put);
      ++k;
      continue;
    }
    if (unit == 0 || IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
      put = PutCodePoint(kReplacement, put);
      decoding = Decoding::Replaced;
      continue;
    }
    put = PutCodePoint(unit, put);
  }
  if (oddByte) {
    put = PutCodePoint(kReplacement, put);
  }
  out.resize(start + static_cast<std::size_t>(put - first));
  return decoding;
}

}  // namespace m5::text
