// The one place that looks at the compiler and the operating system for the plug-in
// boundary: how CreatePlugin is exported and which calling convention the host uses.
#pragma once

#ifndef M5_PLUGIN_EXPORT
#if defined(_WIN32)
// Hosts find CreatePlugin with GetProcAddress, never through an import library, and tests
// link the plug-in statically: callers need no dllimport.
#if defined(M5_BUILDING_PLUGIN)
#define M5_PLUGIN_EXPORT __declspec(dllexport)
#else
#define M5_PLUGIN_EXPORT
#endif
#else
#define M5_PLUGIN_EXPORT __attribute__((visibility("default")))
#endif
#endif

// The host calls through the platform's default convention (one convention on x86-64);
// left overridable for a 32-bit host that expects something else.
#ifndef M5_PLUGIN_CALL
#define M5_PLUGIN_CALL
#endif

// Member functions that return a struct by value: Microsoft's compiler passes `this`
// first and the hidden result pointer second, GCC for mingw the other way round. Where
// the two differ, such a slot is declared with an explicit result pointer, which is
// exactly the host's convention (this, result; the result pointer returned).
#ifndef M5_EXPLICIT_STRUCT_RESULT
#if defined(__MINGW32__)
#define M5_EXPLICIT_STRUCT_RESULT 1
#else
#define M5_EXPLICIT_STRUCT_RESULT 0
#endif
#endif
