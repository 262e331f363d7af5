#include "host/os/host_platform.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include "host/os/text_encoding.h"

namespace m5host::os {

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

bool ShellExpandsWildcards() {
  return true;
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

// Reads up to size bytes, through interruptions; -1 with errno on failure.
ssize_t ReadSome(int file, char* buffer, std::size_t size) {
  for (;;) {
    const ssize_t got = read(file, buffer, size);
    if (got >= 0 || errno != EINTR) {
      return got;
    }
  }
}

// Copies what the opened input holds to a new temporary file.
TakenInput CopyToTemporary(int input, const std::string& shownName) {
  const char* tmp = std::getenv("TMPDIR");
  std::string path = std::string(tmp != nullptr && *tmp == '/' ? tmp : "/tmp") +
                     (input == STDIN_FILENO ? "/m5import-stdin-XXXXXX" : "/m5import-input-XXXXXX");
  const int file = mkstemp(path.data());
  if (file < 0) {
    return {std::nullopt, "cannot make a temporary file in " + path.substr(0, path.rfind('/')) +
                              ": " + std::strerror(errno)};
  }
  std::string failure;
  char buffer[65536];
  for (;;) {
    const ssize_t got = ReadSome(input, buffer, sizeof buffer);
    if (got < 0) {
      failure = "cannot read " + shownName + ": " + std::strerror(errno);
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
    return {std::nullopt, failure};
  }
  return {path, std::nullopt};
}

struct Descriptor {
  int file;
  ~Descriptor() { close(file); }
};

}  // namespace

TakenInput TakeInput(const std::string& path) {
  if (path == "-") {
    return CopyToTemporary(STDIN_FILENO, "standard input");
  }
  const auto unreadable = [&path](int error) {
    return TakenInput{std::nullopt, "cannot read " + path + ": " + std::strerror(error)};
  };
  const int opened = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (opened < 0) {
    return unreadable(errno);
  }
  const Descriptor file{opened};
  struct stat info {};
  if (fstat(file.file, &info) != 0) {
    return unreadable(errno);
  }
  if (S_ISDIR(info.st_mode)) {
    return unreadable(EISDIR);
  }
  if (!S_ISREG(info.st_mode)) {
    return CopyToTemporary(file.file, path);
  }
  // A file that opens may still refuse its bytes (a failing disk, /proc/self/mem).
  char first = 0;
  if (ReadSome(file.file, &first, 1) < 0) {
    return unreadable(errno);
  }
  return {};
}

}  // namespace m5host::os
