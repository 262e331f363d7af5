// The few Windows and C run-time functions the host calls, declared here because the host
// is built with no Windows headers and no Microsoft library: their import libraries are
// made from the .def files beside this one.
#pragma once

typedef void* HANDLE;
typedef void* HMODULE;
typedef unsigned long DWORD;
typedef decltype(sizeof 0) SizeT;

#define M5_WINAPI __stdcall

extern "C" {
__declspec(dllimport) HANDLE M5_WINAPI GetStdHandle(DWORD which);
__declspec(dllimport) int M5_WINAPI
    WriteFile(HANDLE file, const void* data, DWORD size, DWORD* written, void* overlapped);
__declspec(dllimport) void M5_WINAPI ExitProcess(unsigned int code);
__declspec(dllimport) const wchar_t* M5_WINAPI GetCommandLineW();
__declspec(dllimport) HMODULE M5_WINAPI LoadLibraryW(const wchar_t* path);
__declspec(dllimport) void* M5_WINAPI GetProcAddress(HMODULE module, const char* name);
__declspec(dllimport) int M5_WINAPI FreeLibrary(HMODULE module);
__declspec(dllimport) HANDLE M5_WINAPI GetProcessHeap();
__declspec(dllimport) void* M5_WINAPI HeapAlloc(HANDLE heap, DWORD flags, SizeT size);
__declspec(dllimport) int M5_WINAPI HeapFree(HANDLE heap, DWORD flags, void* block);
__declspec(dllimport) int M5_WINAPI
    VirtualProtect(void* address, SizeT size, DWORD protection, DWORD* oldProtection);
__declspec(dllimport) void M5_WINAPI SetLastError(DWORD error);

// The C run-time of every Windows: its wcstod rounds a decimal text to the nearest double,
// as the reference host's reader does.
__declspec(dllimport) double __cdecl wcstod(const wchar_t* text, wchar_t** end);
}

constexpr DWORD kStdOutput = static_cast<DWORD>(-11);
constexpr DWORD kStdError = static_cast<DWORD>(-12);
constexpr DWORD kHeapZeroMemory = 0x08;
constexpr DWORD kPageReadWrite = 0x04;
constexpr DWORD kErrorNoUnicodeTranslation = 1113;

namespace msvchost {

// Zero-filled memory from the process heap, or null.
inline void* Allocate(SizeT size) {
  return HeapAlloc(GetProcessHeap(), kHeapZeroMemory, size);
}
inline void Free(void* block) {
  if (block != nullptr) {
    HeapFree(GetProcessHeap(), 0, block);
  }
}

}  // namespace msvchost

// Constructs objects in memory the host allocated itself (there is no C++ library here).
namespace msvchost {
struct Place {
  void* at;
};
}  // namespace msvchost
inline void* operator new(SizeT, msvchost::Place place) noexcept {
  return place.at;
}
