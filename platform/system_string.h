// System strings: every text the plug-in hands to the host is one of these, and the
// receiver frees it. On Windows they are OLE automation strings; elsewhere a layer of
// our own with the same memory layout (a 32-bit byte count in front of the text, a NUL
// after it, the block from malloc), so any module that follows the layout may free a
// string another module allocated.
#pragma once

#if defined(_WIN32)
// OLEAUT32's own functions, declared as <oleauto.h> does, so that <windows.h> and its
// macros (FormatMessage, min, max...) stay out of every file that hands a text to the host.
typedef wchar_t* BSTR;

extern "C" {
__declspec(dllimport) BSTR __stdcall SysAllocString(const wchar_t* text);
__declspec(dllimport) BSTR __stdcall SysAllocStringLen(const wchar_t* text, unsigned int length);
__declspec(dllimport) void __stdcall SysFreeString(BSTR text);
__declspec(dllimport) unsigned int __stdcall SysStringLen(BSTR text);
}
#else
#include <cstdint>

typedef wchar_t* BSTR;

// A copy of the NUL-terminated text, or null when text is null or memory is exhausted.
BSTR SysAllocString(const wchar_t* text);
// A string of `length` characters copied from text (or zero-filled when text is null).
BSTR SysAllocStringLen(const wchar_t* text, unsigned int length);
// Frees a string from SysAllocString; null is allowed.
void SysFreeString(BSTR text);
// Characters in the string, not counting the NUL; 0 for null.
unsigned int SysStringLen(BSTR text);
#endif
