// The only host code that knows the operating system: loading a library, where the
// program and the user's configuration live, whether a stream is a terminal, and the
// command line as UTF-8. Everything else in host/ is portable.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace m5host::os {

// A loaded shared library (dlopen handle or HMODULE), unloaded when it goes.
class Library {
 public:
  // Loads the library at a UTF-8 path; on failure returns nothing and sets error.
  static std::optional<Library> Open(const std::string& path, std::string& error);

  Library(Library&& other) noexcept;
  Library& operator=(Library&& other) noexcept;
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;
  ~Library();

  // The address of an exported symbol, or null.
  void* Symbol(const char* name) const;

 private:
  explicit Library(void* handle) : m_handle(handle) {}
  void* m_handle = nullptr;
};

// File name of the plug-in library on this system ("libm5plugin.so", "m5plugin.dll").
const char* PluginFileName();

// The folder holding the running program (UTF-8), or empty when unknown.
std::string ExecutableFolder();

// An environment variable as UTF-8, or nothing when it is not set.
std::optional<std::string> EnvironmentVariable(const char* name);

// The user's configuration folder: $XDG_CONFIG_HOME or ~/.config, %APPDATA% on Windows.
std::optional<std::string> UserConfigFolder();

bool IsTerminal(std::FILE* stream);

// Lets the console show UTF-8 (a no-op where it always does).
void PrepareConsole();

// The program's arguments as UTF-8, without the program name.
std::vector<std::string> Utf8Arguments(int argc, char** argv);

}  // namespace m5host::os
