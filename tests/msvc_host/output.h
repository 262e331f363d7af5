// The host's output: its import trace on stdout (the reference host's trace format, with
// doubles and floats as bit patterns, so they compare exactly) and its complaints on
// stderr, both in UTF-8.
#pragma once

#include "system.h"

namespace msvchost {

class Output {
 public:
  explicit Output(DWORD stream);
  ~Output();
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;

  Output& Ascii(const char* text);
  // UTF-8 of the wide text, quoted and escaped as the trace quotes texts; null as "null".
  Output& Quoted(const wchar_t* text);
  Output& Int(long long value);
  Output& Hex(unsigned long long value, int digits);
  Output& Double(double value);
  Output& Float(float value);
  void EndLine();
  void Flush();

 private:
  void Byte(char c);

  HANDLE m_handle;
  char* m_buffer;
  SizeT m_used = 0;
};

}  // namespace msvchost
