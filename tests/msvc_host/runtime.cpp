// What a freestanding program built for Microsoft's ABI needs from a C run-time it does not
// have: the memory functions the compiler may call, the floating-point marker, the
// pure-call trap and the entry point.
#include "system.h"

int RunHost(const wchar_t* commandLine);

extern "C" {

int _fltused = 0;

// The compiler turns loops and aggregate copies into these calls; written as plain loops
// so the compiler cannot turn them back into calls to themselves.
#pragma clang optimize off
void* memset(void* target, int value, SizeT size) {
  auto* bytes = static_cast<unsigned char*>(target);
  for (SizeT i = 0; i < size; ++i) {
    bytes[i] = static_cast<unsigned char>(value);
  }
  return target;
}

void* memcpy(void* target, const void* source, SizeT size) {
  auto* to = static_cast<unsigned char*>(target);
  const auto* from = static_cast<const unsigned char*>(source);
  for (SizeT i = 0; i < size; ++i) {
    to[i] = from[i];
  }
  return target;
}
#pragma clang optimize on

// A call through a pure slot can only mean a broken table of operations: stop loudly.
int __cdecl _purecall() {
  ExitProcess(3);
  return 0;
}

int __cdecl mainCRTStartup() {
  ExitProcess(static_cast<unsigned int>(RunHost(GetCommandLineW())));
  return 0;
}
}
