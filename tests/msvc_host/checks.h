// What the host found wrong: each finding goes to stderr as one line, and the host's exit
// status is the number of findings (0 when the plug-in behaved).
#pragma once

#include "output.h"

namespace msvchost {

class Checks {
 public:
  Checks() : m_out(kStdError) {}

  // "msvc host: <what>" on stderr.
  void Fail(const char* what) { Start().Ascii(what).EndLine(); }
  void Fail(const char* what, const char* name) {
    Start().Ascii(what).Ascii(": ").Ascii(name).EndLine();
  }
  void Fail(const char* what, long long number) {
    Start().Ascii(what).Ascii(" (").Int(number).Ascii(")").EndLine();
  }
  void Expect(bool condition, const char* what) {
    if (!condition) {
      Fail(what);
    }
  }
  int Count() const { return m_count; }
  void Flush() { m_out.Flush(); }

 private:
  Output& Start() {
    ++m_count;
    return m_out.Ascii("msvc host: ");
  }

  Output m_out;
  int m_count = 0;
};

}  // namespace msvchost
