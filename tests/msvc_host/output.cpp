#include "output.h"

namespace msvchost {

namespace {

constexpr SizeT kBufferSize = 1 << 16;

template <class To, class From>
To BitCopy(const From& from) {
  static_assert(sizeof(To) == sizeof(From));
  To to;
  __builtin_memcpy(&to, &from, sizeof to);
  return to;
}

bool IsSurrogate(unsigned cp) {
  return cp >= 0xD800 && cp <= 0xDFFF;
}

}  // namespace

Output::Output(DWORD stream)
    : m_handle(GetStdHandle(stream)), m_buffer(static_cast<char*>(Allocate(kBufferSize))) {}

Output::~Output() {
  Flush();
  Free(m_buffer);
}

void Output::Byte(char c) {
  if (m_buffer == nullptr) {
    return;
  }
  if (m_used == kBufferSize) {
    Flush();
  }
  m_buffer[m_used++] = c;
}

void Output::Flush() {
  SizeT done = 0;
  while (done < m_used) {
    DWORD written = 0;
    if (!WriteFile(m_handle, m_buffer + done, static_cast<DWORD>(m_used - done), &written,
                   nullptr) ||
        written == 0) {
      break;
    }
    done += written;
  }
  m_used = 0;
}

Output& Output::Ascii(const char* text) {
  while (*text != '\0') {
    Byte(*text++);
  }
  return *this;
}

Output& Output::Quoted(const wchar_t* text) {
  if (text == nullptr) {
    return Ascii("null");
  }
  Byte('"');
  for (SizeT i = 0; text[i] != 0; ++i) {
    unsigned cp = static_cast<unsigned short>(text[i]);
    // A surrogate pair is one character; a lone surrogate becomes U+FFFD.
    if (cp >= 0xD800 && cp <= 0xDBFF) {
      const unsigned low = static_cast<unsigned short>(text[i + 1]);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      }
    }
    if (IsSurrogate(cp)) {
      cp = 0xFFFD;
    }
    switch (cp) {
      case '"':
        Ascii("\\\"");
        continue;
      case '\\':
        Ascii("\\\\");
        continue;
      case '\n':
        Ascii("\\n");
        continue;
      case '\r':
        Ascii("\\r");
        continue;
      case '\t':
        Ascii("\\t");
        continue;
      default:
        break;
    }
    if (cp < 0x20) {
      Ascii("\\x").Hex(cp, 2);
    } else if (cp < 0x80) {
      Byte(static_cast<char>(cp));
    } else if (cp < 0x800) {
      Byte(static_cast<char>(0xC0 | (cp >> 6)));
      Byte(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      Byte(static_cast<char>(0xE0 | (cp >> 12)));
      Byte(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      Byte(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      Byte(static_cast<char>(0xF0 | (cp >> 18)));
      Byte(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      Byte(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      Byte(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  Byte('"');
  return *this;
}

Output& Output::Int(long long value) {
  char digits[24];
  int count = 0;
  unsigned long long magnitude = value < 0 ? 0 - static_cast<unsigned long long>(value)
                                           : static_cast<unsigned long long>(value);
  // Digits by repeated subtraction of powers of ten: no 64-bit division, which a 32-bit
  // build would need a run-time helper for.
  static constexpr unsigned long long kPowers[] = {10000000000000000000ull,
                                                   1000000000000000000ull,
                                                   100000000000000000ull,
                                                   10000000000000000ull,
                                                   1000000000000000ull,
                                                   100000000000000ull,
                                                   10000000000000ull,
                                                   1000000000000ull,
                                                   100000000000ull,
                                                   10000000000ull,
                                                   1000000000ull,
                                                   100000000ull,
                                                   10000000ull,
                                                   1000000ull,
                                                   100000ull,
                                                   10000ull,
                                                   1000ull,
                                                   100ull,
                                                   10ull,
                                                   1ull};
  for (const unsigned long long power : kPowers) {
    char digit = '0';
    while (magnitude >= power) {
      magnitude -= power;
      ++digit;
    }
    if (digit != '0' || count != 0 || power == 1) {
      digits[count++] = digit;
    }
  }
  if (value < 0) {
    Byte('-');
  }
  for (int i = 0; i < count; ++i) {
    Byte(digits[i]);
  }
  return *this;
}

Output& Output::Hex(unsigned long long value, int digits) {
  for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) {
    Byte("0123456789ABCDEF"[(value >> shift) & 0xF]);
  }
  return *this;
}

Output& Output::Double(double value) {
  return Ascii("0x").Hex(BitCopy<unsigned long long>(value), 16);
}

Output& Output::Float(float value) {
  return Ascii("0x").Hex(BitCopy<unsigned int>(value), 8);
}

void Output::EndLine() {
  Byte('\n');
}

}  // namespace msvchost
