// Watches the plug-in from below: its system-string calls, to prove each string crossing
// the boundary is freed by the side the interfaces name, and its system calls, to make one
// of them fail while a file is imported.
#pragma once

#include "checks.h"
#include "import_patch.h"
#include "system.h"

typedef wchar_t* BSTR;

namespace msvchost {

enum class Injection { None, ConversionFails, AllocationFails };

// Every system string alive between the two sides, and who must free it.
class StringLedger {
 public:
  explicit StringLedger(Checks& checks);
  ~StringLedger();
  StringLedger(const StringLedger&) = delete;
  StringLedger& operator=(const StringLedger&) = delete;

  // The plug-in's own calls, seen through its import table.
  void PluginAllocated(BSTR text);
  // True when the string may be freed; a string the plug-in handed to the host, or one
  // nobody allocated, is a finding and is left alone.
  bool PluginFrees(BSTR text);

  // A result the plug-in handed over: it must be the plug-in's own, and is the host's now.
  void HostReceives(BSTR text, const char* operation);
  void HostFrees(BSTR text);
  // A string for the plug-in to free (GetItemText).
  BSTR HostAllocatesForPlugin(const wchar_t* text);

  // Findings for every string still alive.
  void CheckNoneAlive();

 private:
  enum class Owner { PluginKeeps, HostMustFree, PluginMustFree };
  struct Entry {
    BSTR text;
    Owner owner;
  };
  Entry* Find(BSTR text);
  void Add(BSTR text, Owner owner);
  void Remove(Entry* entry);

  Checks& m_checks;
  Entry* m_entries;
  SizeT m_count = 0;
};

class PluginWatch {
 public:
  PluginWatch(Checks& checks, Injection injection, int allocationIndex);
  ~PluginWatch();
  PluginWatch(const PluginWatch&) = delete;
  PluginWatch& operator=(const PluginWatch&) = delete;

  // Patches the plug-in's imports; false (with a finding) when one is missing.
  bool Install(HMODULE plugin);
  // Puts the plug-in's own imports back, before the library is freed.
  void Uninstall();

  // The chosen failure happens once, from now on: the first code-page conversion fails, or
  // the allocationIndex-th allocation.
  void Arm();
  bool Injected() const { return m_injected; }
  StringLedger& Strings() { return m_strings; }

 private:
  friend struct WatchHooks;

  Checks& m_checks;
  StringLedger m_strings;
  Injection m_injection;
  int m_allocationIndex;
  bool m_armed = false;
  int m_allocationsLeft = 0;
  bool m_injected = false;
  ImportPatch m_sysAllocString;
  ImportPatch m_sysFreeString;
  ImportPatch m_conversion;
  ImportPatch m_malloc;
};

}  // namespace msvchost
