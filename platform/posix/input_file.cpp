#include "platform/input_file.h"

#include <cstdio>
#include <memory>

namespace m5::platform {

namespace {

// Paths reach us as wide text, one code point per wchar_t; the file system takes UTF-8.
std::string PathToUtf8(const std::wstring& path) {
  std::string out;
  out.reserve(path.size());
  for (const wchar_t ch : path) {
    auto cp = static_cast<std::uint32_t>(ch);
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      cp = 0xFFFD;
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

// What the C run-time's text mode does on Windows: CR LF becomes LF, 0x1A ends the input.
void ApplyTextMode(std::string& bytes) {
  std::size_t out = 0;
  const std::size_t n = bytes.size();
  for (std::size_t i = 0; i < n; ++i) {
    const char ch = bytes[i];
    if (ch == '\x1A') {
      break;
    }
    if (ch == '\r' && i + 1 < n && bytes[i + 1] == '\n') {
      continue;
    }
    bytes[out++] = ch;
  }
  bytes.resize(out);
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

std::optional<std::string> ReadWholeFile(const std::wstring& path, FileMode mode) {
  const std::string narrow = PathToUtf8(path);
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(narrow.c_str(), "rb"));
  if (!file) {
    return std::nullopt;
  }
  std::string bytes;
  char chunk[65536];
  for (;;) {
    const std::size_t got = std::fread(chunk, 1, sizeof chunk, file.get());
    bytes.append(chunk, got);
    if (got < sizeof chunk) {
      break;
    }
  }
  // A folder opens on POSIX but cannot be read; treat it like any unreadable file.
  if (std::ferror(file.get())) {
    return std::nullopt;
  }
  if (mode == FileMode::Text) {
    ApplyTextMode(bytes);
  }
  return bytes;
}

}  // namespace m5::platform
