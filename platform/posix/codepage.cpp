#include "platform/codepage.h"

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace m5::platform {

namespace {

// Windows-1251 above 0x7F. The byte 0x98 has no character in the code page; Windows
// converts it to U+0098, and so do we.
constexpr wchar_t kCp1251High[128] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,  // C0
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,  // C8
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,  // D0
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,  // D8
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,  // E0
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,  // E8
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,  // F0
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,  // F8
};

// Every byte's character, so that decoding a line is one load per byte.
struct Cp1251Table {
  wchar_t map[256];
  constexpr Cp1251Table() : map() {
    for (int byte = 0; byte < 0x80; ++byte) {
      map[byte] = static_cast<wchar_t>(byte);
    }
    for (int byte = 0x80; byte < 0x100; ++byte) {
      map[byte] = kCp1251High[byte - 0x80];
    }
  }
};

constexpr Cp1251Table kCp1251;

}  // namespace

void AppendAnsiToWide(const char* bytes, std::size_t count, std::wstring& out) {
  const std::size_t start = out.size();
  out.resize(start + count);
  wchar_t* dest = out.data() + start;
  std::size_t i = 0;
#if defined(__SSE2__)
  // Most of an M5 line is ASCII: sixteen such bytes at a time are widened by zero
  // extension, four characters to a store; a run with any other byte takes the table.
  static_assert(sizeof(wchar_t) == 4, "the widening below writes 32-bit characters");
  const __m128i zero = _mm_setzero_si128();
  for (; i + 16 <= count; i += 16) {
    const __m128i run = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
    if (_mm_movemask_epi8(run) != 0) {
      for (std::size_t k = 0; k < 16; ++k) {
        dest[i + k] = kCp1251.map[static_cast<unsigned char>(bytes[i + k])];
      }
      continue;
    }
    const __m128i low = _mm_unpacklo_epi8(run, zero);
    const __m128i high = _mm_unpackhi_epi8(run, zero);
    auto* to = reinterpret_cast<__m128i*>(dest + i);
    _mm_storeu_si128(to, _mm_unpacklo_epi16(low, zero));
    _mm_storeu_si128(to + 1, _mm_unpackhi_epi16(low, zero));
    _mm_storeu_si128(to + 2, _mm_unpacklo_epi16(high, zero));
    _mm_storeu_si128(to + 3, _mm_unpackhi_epi16(high, zero));
  }
#endif
  // Eight ASCII bytes at a time widen without the table.
  for (; i + 8 <= count; i += 8) {
    std::uint64_t word;
    std::memcpy(&word, bytes + i, sizeof word);
    if ((word & 0x8080808080808080u) == 0) {
      for (std::size_t k = 0; k < 8; ++k) {
        dest[i + k] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[i + k]));
      }
    } else {
      for (std::size_t k = 0; k < 8; ++k) {
        dest[i + k] = kCp1251.map[static_cast<unsigned char>(bytes[i + k])];
      }
    }
  }
  for (; i < count; ++i) {
    dest[i] = kCp1251.map[static_cast<unsigned char>(bytes[i])];
  }
}

}  // namespace m5::platform
