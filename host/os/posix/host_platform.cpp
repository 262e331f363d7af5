#include "host/os/host_platform.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>

#if defined(_WIN32)
// <windows.h> first: <shellapi.h> relies on its definitions.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
#include <sys/stat.h>
#else
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#endif

#include "host/os/text_encoding.h"

namespace m5host::os {

Library::Library(Library&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}

Library& Library::operator=(Library&& other) noexcept {
  std::swap(m_handle, other.m_handle);
  return *this;
}

#if defined(_WIN32)

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

std::optional<std::string> CopyStandardInput(std::string& error) {
  wchar_t folder[MAX_PATH + 1] = {};
  wchar_t name[MAX_PATH + 1] = {};
  if (GetTempPathW(MAX_PATH + 1, folder) == 0 || GetTempFileNameW(folder, L"m5i", 0, name) == 0) {
    error = "cannot make a temporary file, error " + std::to_string(GetLastError());
    return std::nullopt;
  }
  const std::string path = ToUtf8(name);
  std::FILE* out = _wfopen(name, L"wb");
  if (out == nullptr) {
    error = "cannot write " + path + ": " + std::strerror(errno);
    DeleteFileW(name);
    return std::nullopt;
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
    error = std::string(read ? "cannot write " + path : "cannot read standard input") + ": " +
            std::strerror(errno);
    DeleteFileW(name);
    return std::nullopt;
  }
  return path;
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

#else

std::optional<Library> Library::Open(const std::string& path, std::string& error) {
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* reason = dlerror();
    error = reason != nullptr ? reason : "dlopen failed";
    return std::nullopt;
  }
  return Library(handle);
}

Library::~Library() {
  if (m_handle != nullptr) {
    dlclose(m_handle);
  }
}

void* Library::Symbol(const char* name) const {
  return dlsym(m_handle, name);
}

const char* PluginFileName() {
  return "libm5plugin.so";
}

std::string ExecutableFolder() {
  std::string buffer(4096, '\0');
  const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  if (n <= 0) {
    return {};
  }
  buffer.resize(static_cast<std::size_t>(n));
  const auto slash = buffer.rfind('/');
  return slash == std::string::npos ? std::string() : buffer.substr(0, slash);
}

std::optional<std::string> EnvironmentVariable(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr) {
    return std::nullopt;
  }
  return std::string(value);
}

std::optional<std::string> UserConfigFolder() {
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg == '/') {
    return std::string(xdg);
  }
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != 0) {
    return std::string(home) + "/.config";
  }
  return std::nullopt;
}

bool IsTerminal(std::FILE* stream) {
  return isatty(fileno(stream)) != 0;
}

void PrepareConsole() {
  std::signal(SIGPIPE, SIG_IGN);
}

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

std::wstring PluginPath(const std::string& path) {
  return FromUtf8KeepingBytes(path);
}

std::optional<std::string> UnreadableReason(const std::string& path) {
  const int file = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (file < 0) {
    return std::string(std::strerror(errno));
  }
  struct stat info {};
  const bool folder = fstat(file, &info) == 0 && S_ISDIR(info.st_mode);
  close(file);
  if (folder) {
    return std::string(std::strerror(EISDIR));
  }
  return std::nullopt;
}

namespace {

// Writes all of bytes to file, through short writes and interruptions.
bool WriteAll(int file, const char* bytes, std::size_t size) {
  while (size > 0) {
    const ssize_t n = write(file, bytes, size);
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n <= 0) {
      return false;
    }
    bytes += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

std::optional<std::string> CopyStandardInput(std::string& error) {
  const char* tmp = std::getenv("TMPDIR");
  std::string path =
      std::string(tmp != nullptr && *tmp == '/' ? tmp : "/tmp") + "/m5import-stdin-XXXXXX";
  const int file = mkstemp(path.data());
  if (file < 0) {
    error = "cannot make a temporary file in " + path.substr(0, path.rfind('/')) + ": " +
            std::strerror(errno);
    return std::nullopt;
  }
  std::string failure;
  char buffer[65536];
  for (;;) {
    const ssize_t got = read(STDIN_FILENO, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got < 0) {
      failure = std::string("cannot read standard input: ") + std::strerror(errno);
      break;
    }
    if (got == 0) {
      break;
    }
    if (!WriteAll(file, buffer, static_cast<std::size_t>(got))) {
      failure = "cannot write " + path + ": " + std::strerror(errno);
      break;
    }
  }
  if (close(file) != 0 && failure.empty()) {
    failure = "cannot write " + path + ": " + std::strerror(errno);
  }
  if (!failure.empty()) {
    unlink(path.c_str());
    error = failure;
    return std::nullopt;
  }
  return path;
}

#endif

}  // namespace m5host::os
