// The only host code that knows the operating system: loading a library, where the
// program and the user's configuration live, whether a stream is a terminal, the command
// line as UTF-8, file names for the plug-in, and reading survey files and standard input.
// Everything else in host/ is portable.
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

// Lets the console show UTF-8 (a no-op where it always does), makes a closed pipe a
// failed write that m5import reports rather than a signal that ends it in silence, and
// makes standard output take the bytes of an output file as they are (no CR added on
// Windows).
void PrepareConsole();

// The program's arguments as UTF-8, without the program name. On POSIX they are the bytes
// as given: a file name need not be UTF-8.
std::vector<std::string> Utf8Arguments(int argc, char** argv);

// Whether the shell has expanded "*" and "?" in the arguments already (POSIX), or left
// them to the program (Windows).
bool ShellExpandsWildcards();

// A file name from the command line as the plug-in takes it. On POSIX a byte that is not
// part of UTF-8 travels as U+DC00 + the byte (U+DC80..U+DCFF, a lone surrogate that no
// text decodes to), which the plug-in's file reading turns back into the byte.
std::wstring PluginPath(const std::string& path);

// Why a file cannot be read, in the system's words (missing, a folder, no permission), or
// nothing when it can be.
std::optional<std::string> UnreadableReason(const std::string& path);

// A survey input made ready for the plug-in, which opens its files by name. A regular file
// is read where it is, once its first bytes were read (a file that opens but cannot be read
// is named here, with the system's reason). Standard input ("-"), a FIFO, a pipe or a device
// can be read only once: it is copied whole to a temporary file, which the plug-in and the
// host's later looks read instead, so that nothing waits for a writer that has gone.
struct TakenInput {
  std::optional<std::string> copy;     // the temporary file made; the caller removes it
  std::optional<std::string> failure;  // "cannot read NAME: reason", when it cannot be read
};
TakenInput TakeInput(const std::string& path);

}  // namespace m5host::os
