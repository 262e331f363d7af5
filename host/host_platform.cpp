#include "host/host_platform.h"

#include <cstdlib>
#include <utility>

#if defined(_WIN32)
// <windows.h> first: <shellapi.h> relies on its definitions.
#include <windows.h>

#include <io.h>
#include <shellapi.h>
#else
#include <dlfcn.h>
#include <unistd.h>
#endif

#include "host/text_encoding.h"

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

void PrepareConsole() {}

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

#endif

}  // namespace m5host::os
