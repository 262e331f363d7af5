#include "plugin_watch.h"

#include "platform/system_string.h"

namespace msvchost {

namespace {

constexpr SizeT kLedgerCapacity = 4096;

// A hook has no argument to find its watch by: this is its one way back.
PluginWatch* g_watch = nullptr;

}  // namespace

StringLedger::StringLedger(Checks& checks)
    : m_checks(checks), m_entries(static_cast<Entry*>(Allocate(kLedgerCapacity * sizeof(Entry)))) {}

StringLedger::~StringLedger() {
  Free(m_entries);
}

StringLedger::Entry* StringLedger::Find(BSTR text) {
  for (SizeT i = 0; i < m_count; ++i) {
    if (m_entries[i].text == text) {
      return &m_entries[i];
    }
  }
  return nullptr;
}

void StringLedger::Add(BSTR text, Owner owner) {
  if (m_entries == nullptr || m_count == kLedgerCapacity) {
    m_checks.Fail("more system strings alive at once than the host can follow");
    return;
  }
  m_entries[m_count++] = {text, owner};
}

void StringLedger::Remove(Entry* entry) {
  *entry = m_entries[--m_count];
}

void StringLedger::PluginAllocated(BSTR text) {
  if (text != nullptr) {
    Add(text, Owner::PluginKeeps);
  }
}

bool StringLedger::PluginFrees(BSTR text) {
  if (text == nullptr) {
    return true;
  }
  Entry* entry = Find(text);
  if (entry == nullptr) {
    m_checks.Fail("the plug-in freed a system string that was not alive");
    return false;
  }
  if (entry->owner == Owner::HostMustFree) {
    m_checks.Fail("the plug-in freed a system string it had handed to the host");
    return false;
  }
  Remove(entry);
  return true;
}

void StringLedger::HostReceives(BSTR text, const char* operation) {
  Entry* entry = text != nullptr ? Find(text) : nullptr;
  if (entry == nullptr || entry->owner != Owner::PluginKeeps) {
    m_checks.Fail(operation);
    return;
  }
  entry->owner = Owner::HostMustFree;
}

void StringLedger::HostFrees(BSTR text) {
  Entry* entry = text != nullptr ? Find(text) : nullptr;
  if (entry == nullptr) {
    return;  // already named by HostReceives
  }
  Remove(entry);
  SysFreeString(text);
}

BSTR StringLedger::HostAllocatesForPlugin(const wchar_t* text) {
  BSTR copy = SysAllocString(text);
  if (copy != nullptr) {
    Add(copy, Owner::PluginMustFree);
  }
  return copy;
}

void StringLedger::CheckNoneAlive() {
  for (SizeT i = 0; i < m_count; ++i) {
    switch (m_entries[i].owner) {
      case Owner::PluginKeeps:
        m_checks.Fail("a system string the plug-in allocated was never freed");
        break;
      case Owner::HostMustFree:
        m_checks.Fail("a system string handed to the host was never freed");
        break;
      case Owner::PluginMustFree:
        m_checks.Fail("a system string from GetItemText was never freed by the plug-in");
        break;
    }
  }
}

// The replacements put into the plug-in's import table, in the callee's conventions.
struct WatchHooks {
  using SysAllocStringFunction = BSTR(__stdcall*)(const wchar_t*);
  using SysFreeStringFunction = void(__stdcall*)(BSTR);
  using ConversionFunction = int(__stdcall*)(unsigned int, DWORD, const char*, int, wchar_t*, int);
  using MallocFunction = void*(__cdecl*)(SizeT);

  static BSTR __stdcall SysAllocStringHook(const wchar_t* text) {
    BSTR made =
        reinterpret_cast<SysAllocStringFunction>(g_watch->m_sysAllocString.Original())(text);
    g_watch->m_strings.PluginAllocated(made);
    return made;
  }

  static void __stdcall SysFreeStringHook(BSTR text) {
    if (g_watch->m_strings.PluginFrees(text)) {
      reinterpret_cast<SysFreeStringFunction>(g_watch->m_sysFreeString.Original())(text);
    }
  }

  static bool FailNow(Injection injection) {
    PluginWatch& watch = *g_watch;
    if (!watch.m_armed || watch.m_injection != injection) {
      return false;
    }
    if (injection == Injection::AllocationFails && --watch.m_allocationsLeft > 0) {
      return false;
    }
    watch.m_armed = false;
    watch.m_injected = true;
    return true;
  }

  static int __stdcall ConversionHook(unsigned int codePage, DWORD flags, const char* text,
                                      int size, wchar_t* out, int capacity) {
    if (FailNow(Injection::ConversionFails)) {
      SetLastError(kErrorNoUnicodeTranslation);
      return 0;
    }
    return reinterpret_cast<ConversionFunction>(g_watch->m_conversion.Original())(
        codePage, flags, text, size, out, capacity);
  }

  static void* __cdecl MallocHook(SizeT size) {
    if (FailNow(Injection::AllocationFails)) {
      return nullptr;
    }
    return reinterpret_cast<MallocFunction>(g_watch->m_malloc.Original())(size);
  }
};

PluginWatch::PluginWatch(Checks& checks, Injection injection, int allocationIndex)
    : m_checks(checks),
      m_strings(checks),
      m_injection(injection),
      m_allocationIndex(allocationIndex) {}

PluginWatch::~PluginWatch() {
  Uninstall();
}

bool PluginWatch::Install(HMODULE plugin) {
  g_watch = this;
  struct Row {
    ImportPatch& patch;
    const char* dll;
    const char* function;
    void* hook;
    bool wanted;
  };
  const Row rows[] = {
      {m_sysAllocString, "oleaut32.dll", "SysAllocString",
       reinterpret_cast<void*>(&WatchHooks::SysAllocStringHook), true},
      {m_sysFreeString, "oleaut32.dll", "SysFreeString",
       reinterpret_cast<void*>(&WatchHooks::SysFreeStringHook), true},
      {m_conversion, "kernel32.dll", "MultiByteToWideChar",
       reinterpret_cast<void*>(&WatchHooks::ConversionHook),
       m_injection == Injection::ConversionFails},
      {m_malloc, "msvcrt.dll", "malloc", reinterpret_cast<void*>(&WatchHooks::MallocHook),
       m_injection == Injection::AllocationFails},
  };
  bool installed = true;
  for (const Row& row : rows) {
    if (row.wanted && !row.patch.Apply(plugin, row.dll, row.function, row.hook)) {
      m_checks.Fail("the plug-in does not import a function the host watches", row.function);
      installed = false;
    }
  }
  return installed;
}

void PluginWatch::Uninstall() {
  m_malloc.Restore();
  m_conversion.Restore();
  m_sysFreeString.Restore();
  m_sysAllocString.Restore();
  if (g_watch == this) {
    g_watch = nullptr;
  }
}

void PluginWatch::Arm() {
  if (m_injection == Injection::None || m_injected) {
    return;
  }
  m_armed = true;
  m_allocationsLeft = m_allocationIndex;
}

}  // namespace msvchost
