// The one place that looks at the compiler and the operating system for the plug-in
// boundary: how CreatePlugin is exported and which calling convention the host uses.
#pragma once

#ifndef M5_PLUGIN_EXPORT
#if defined(_WIN32)
#if defined(M5_BUILDING_PLUGIN)
#define M5_PLUGIN_EXPORT __declspec(dllexport)
#else
#define M5_PLUGIN_EXPORT __declspec(dllimport)
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
