#include "host/os/host_platform.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>

// <windows.h> first: <shellapi.h> relies on its definitions.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
#include <sys/stat.h>

#include "host/os/text_encoding.h"

namespace m5host::os {

std::optional<Library> Library::Open(const std::string& path, std::string& error) {
  HMODULE handle = LoadLibraryW(FromUtf8(path).c_str());
  if (handle == nullptr) {
    error = "LoadLibrary failed with error " + std::to_string(GetLastError());
    return std::nullopt;
  }
  return Library(reinterpret_cast<void*>(handle));
}

Library::~Library() {
  if (m_handle != nullptr) {
    FreeLibrary(reinterpret_cast<HMODULE>(m_handle));
  }
}

void* Library::Symbol(const char* name) const {
  return reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(m_handle), name));
}

const char* PluginFileName() {
  return "m5plugin.dll";
}

std::string ExecutableFolder() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) {
      return {};
    }
    if (n < buffer.size()) {
      buffer.resize(n);
      break;
    }
    buffer.resize(buffer.size() * 2);
  }
  const auto slash = buffer.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::string() : ToUtf8(buffer.substr(0, slash));
}

std::optional<std::string> EnvironmentVariable(const char* name) {
  // The narrow environment is in the ANSI code page; the wide one keeps every name intact.
  const wchar_t* value = _wgetenv(FromUtf8(name).c_str());
  if (value == nullptr) {
    return std::nullopt;
  }
  return ToUtf8(value);
}

std::optional<std::string> UserConfigFolder() {
  std::optional<std::string> appData = EnvironmentVariable("APPDATA");
  if (!appData || appData->empty()) {
    return std::nullopt;
  }
  return appData;
}

bool IsTerminal(std::FILE* stream) {
  return _isatty(_fileno(stream)) != 0;
}

void PrepareConsole() {
  SetConsoleOutputCP(CP_UTF8);
  // A CSV or point file written to standard output keeps its own line ends: a text stream
  // would write its CR LF as CR CR LF, which a spreadsheet reads as blank rows.
  _setmode(_fileno(stdout), _O_BINARY);
}

bool ShellExpandsWildcards() {
  return false;
}

std::wstring PluginPath(const std::string& path) {
  return FromUtf8(path);
}

std::optional<std::string> UnreadableReason(const std::string& path) {
  const std::wstring wide = FromUtf8(path);
  struct _stat64 info {};
  if (_wstat64(wide.c_str(), &info) != 0) {
    return std::string(std::strerror(errno));
  }
  if ((info.st_mode & _S_IFDIR) != 0) {
    return std::string(std::strerror(EISDIR));
  }
  const int file = _wopen(wide.c_str(), _O_RDONLY | _O_BINARY);
  if (file < 0) {
    return std::string(std::strerror(errno));
  }
  _close(file);
  return std::nullopt;
}

namespace {

TakenInput CopyStandardInput() {
  wchar_t folder[MAX_PATH + 1] = {};
  wchar_t name[MAX_PATH + 1] = {};
  if (GetTempPathW(MAX_PATH + 1, folder) == 0 || GetTempFileNameW(folder, L"m5i", 0, name) == 0) {
    return {std::nullopt, "cannot make a temporary file, error " + std::to_string(GetLastError())};
  }
  const std::string path = ToUtf8(name);
  std::FILE* out = _wfopen(name, L"wb");
  if (out == nullptr) {
    const std::string reason = std::strerror(errno);
    DeleteFileW(name);
    return {std::nullopt, "cannot write " + path + ": " + reason};
  }
  _setmode(_fileno(stdin), _O_BINARY);  // CR LF and 0x1A are the plug-in's to read
  char buffer[65536];
  std::size_t got = 0;
  bool written = true;
  while ((got = std::fread(buffer, 1, sizeof buffer, stdin)) > 0) {
    written = written && std::fwrite(buffer, 1, got, out) == got;
  }
  const bool read = std::ferror(stdin) == 0;
  written = std::fclose(out) == 0 && written;
  if (!read || !written) {
    const std::string reason = std::strerror(errno);
    DeleteFileW(name);
    return {
        std::nullopt,
        std::string(read ? "cannot write " + path : "cannot read standard input") + ": " + reason};
  }
  return {path, std::nullopt};
}

}  // namespace

TakenInput TakeInput(const std::string& path) {
  if (path == "-") {
    return CopyStandardInput();
  }
  if (const std::optional<std::string> reason = UnreadableReason(path)) {
    return {std::nullopt, "cannot read " + path + ": " + *reason};
  }
  // A file that opens may still refuse its bytes (a failing disk).
  const int file = _wopen(FromUtf8(path).c_str(), _O_RDONLY | _O_BINARY);
  char first = 0;
  const bool read = file >= 0 && _read(file, &first, 1) >= 0;
  const std::string reason = std::strerror(errno);
  if (file >= 0) {
    _close(file);
  }
  if (!read) {
    return {std::nullopt, "cannot read " + path + ": " + reason};
  }
  return {};
}

std::vector<std::string> Utf8Arguments(int, char**) {
  // The narrow argv is in the ANSI code page; the wide command line has every name intact.
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> out;
  for (int i = 1; i < count; ++i) {
    out.push_back(ToUtf8(wide[i]));
  }
  LocalFree(wide);
  return out;
}

}  // namespace m5host::os
