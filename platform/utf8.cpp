#include "platform/utf8.h"

#include <cstdint>

namespace m5::platform {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsSurrogate(char32_t cp) {
  return cp >= 0xD800 && cp <= 0xDFFF;
}

}  // namespace

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

std::string ToUtf8(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    auto cp = static_cast<char32_t>(text[i]);
    // A 16-bit wchar_t holds the characters beyond the basic plane as surrogate pairs.
    if (sizeof(wchar_t) == 2 && cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size()) {
      const auto low = static_cast<char32_t>(text[i + 1]);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      }
    }
    // A file name that is not UTF-8 reaches us with each stray byte as U+DC00 + the byte, a
    // lone surrogate no text decodes to; it is opened by its own bytes.
    if (cp >= 0xDC80 && cp <= 0xDCFF) {
      out += static_cast<char>(cp - 0xDC00);
      continue;
    }
    if (cp > 0x10FFFF || IsSurrogate(cp)) {
      cp = kReplacement;
    }
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (cp >> 18));
      out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  return out;
}

}  // namespace m5::platform
