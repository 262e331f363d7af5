// A host built with Microsoft's C++ ABI and no C or C++ library: it loads the plug-in DLL,
// calls every operation of every interface the plug-in implements with host objects of its
// own on the other side, writes the import trace on stdout and its findings on stderr.
//
//   m5_msvc_host --plugin DLL [--set KEY=VALUE]... [--fail conversion|allocation:N] FILE...
//
// --fail makes one system call inside the plug-in fail during the first file: the plug-in
// must report it on the sink and go on with the next file. Exit status: the number of
// findings, 2 for a usage error.
#include "checks.h"
#include "import_host.h"
#include "output.h"
#include "plugin_watch.h"
#include "sdk/create_plugin.h"
#include "settings_host.h"
#include "system.h"

namespace msvchost {

namespace {

constexpr int kUsageError = 2;
constexpr int kPluginKind = 2;
// {CD3C6B69-B875-4BD1-9029-9B44080CE735}
constexpr GUID kClassId = {
    0xCD3C6B69, 0xB875, 0x4BD1, {0x90, 0x29, 0x9B, 0x44, 0x08, 0x0C, 0xE7, 0x35}};

// The command line split into arguments: blanks separate them, double quotes group them.
class Arguments {
 public:
  explicit Arguments(const wchar_t* line) {
    SizeT length = 0;
    while (line[length] != 0) {
      ++length;
    }
    m_text = static_cast<wchar_t*>(Allocate((length + 1) * sizeof(wchar_t)));
    m_list = static_cast<wchar_t**>(Allocate((length / 2 + 2) * sizeof(wchar_t*)));
    if (m_text == nullptr || m_list == nullptr) {
      return;
    }
    wchar_t* out = m_text;
    const wchar_t* c = line;
    for (;;) {
      while (*c == L' ' || *c == L'\t') {
        ++c;
      }
      if (*c == 0) {
        break;
      }
      m_list[m_count++] = out;
      bool quoted = false;
      for (; *c != 0 && (quoted || (*c != L' ' && *c != L'\t')); ++c) {
        if (*c == L'"') {
          quoted = !quoted;
        } else {
          *out++ = *c;
        }
      }
      *out++ = 0;
    }
  }
  ~Arguments() {
    Free(m_list);
    Free(m_text);
  }
  Arguments(const Arguments&) = delete;
  Arguments& operator=(const Arguments&) = delete;

  int Count() const { return m_count; }
  wchar_t* operator[](int i) const { return m_list[i]; }
  wchar_t* const* From(int i) const { return m_list + i; }

 private:
  wchar_t* m_text = nullptr;
  wchar_t** m_list = nullptr;
  int m_count = 0;
};

bool Same(const wchar_t* a, const wchar_t* b) {
  for (; *a != 0 && *a == *b; ++a, ++b) {
  }
  return *a == *b;
}

bool StartsWith(const wchar_t* text, const wchar_t* prefix, const wchar_t** rest) {
  for (; *prefix != 0; ++text, ++prefix) {
    if (*text != *prefix) {
      return false;
    }
  }
  *rest = text;
  return true;
}

bool ReadInt(const wchar_t* text, int* value) {
  bool negative = *text == L'-';
  if (negative) {
    ++text;
  }
  int result = 0;
  if (*text == 0) {
    return false;
  }
  for (; *text != 0; ++text) {
    if (*text < L'0' || *text > L'9' || result > 100000000) {
      return false;
    }
    result = result * 10 + (*text - L'0');
  }
  *value = negative ? -result : result;
  return true;
}

struct Options {
  const wchar_t* plugin = nullptr;
  Injection injection = Injection::None;
  int allocationIndex = 0;
  int firstFile = 0;
};

bool ParseOptions(const Arguments& arguments, SettingsStore& store, Options& options) {
  int i = 1;
  for (; i < arguments.Count(); ++i) {
    const wchar_t* argument = arguments[i];
    const wchar_t* value = nullptr;
    if (Same(argument, L"--plugin") && i + 1 < arguments.Count()) {
      options.plugin = arguments[++i];
    } else if (Same(argument, L"--set") && i + 1 < arguments.Count()) {
      wchar_t* pair = arguments[++i];
      wchar_t* equals = pair;
      while (*equals != 0 && *equals != L'=') {
        ++equals;
      }
      int number = 0;
      if (*equals == 0) {
        return false;
      }
      *equals = 0;
      if (!ReadInt(equals + 1, &number) || !store.Store(pair, number)) {
        return false;
      }
    } else if (Same(argument, L"--fail") && i + 1 < arguments.Count()) {
      const wchar_t* kind = arguments[++i];
      if (Same(kind, L"conversion")) {
        options.injection = Injection::ConversionFails;
      } else if (StartsWith(kind, L"allocation:", &value) &&
                 ReadInt(value, &options.allocationIndex) && options.allocationIndex > 0) {
        options.injection = Injection::AllocationFails;
      } else {
        return false;
      }
    } else {
      break;
    }
  }
  options.firstFile = i;
  return options.plugin != nullptr && i < arguments.Count();
}

bool SameGuid(const GUID& a, const GUID& b) {
  bool same = a.Data1 == b.Data1 && a.Data2 == b.Data2 && a.Data3 == b.Data3;
  for (int i = 0; i < 8; ++i) {
    same = same && a.Data4[i] == b.Data4[i];
  }
  return same;
}

// A text result: allocated by the plug-in, freed here.
void CheckText(BSTR text, const char* operation, Checks& checks, StringLedger& strings) {
  strings.HostReceives(text, operation);
  checks.Expect(text != nullptr && *text != 0, operation);
  strings.HostFrees(text);
}

// The identity operations, GetInterface's references and the texts of the format list.
void ExerciseIdentity(Plugin::IGroundBasedMIP& plugin, Checks& checks, StringLedger& strings) {
  checks.Expect(plugin.GetKind() == kPluginKind, "GetKind is not 2");
  // Returned by value: Microsoft's compiler passes a hidden result pointer.
  const GUID id = plugin.GetClassId();
  checks.Expect(SameGuid(id, kClassId), "GetClassId gave another class identifier");
  for (int kind = 0; kind <= kPluginKind; ++kind) {
    Plugin::IPlugin* face = plugin.GetInterface(kind);
    checks.Expect(face == &plugin, "GetInterface(0..2) did not give the plug-in itself");
    if (face != nullptr) {
      checks.Expect(!face->Release(), "releasing GetInterface's reference destroyed the plug-in");
    }
  }
  checks.Expect(
      plugin.GetInterface(kPluginKind + 1) == nullptr && plugin.GetInterface(-1) == nullptr,
      "GetInterface answered a kind the plug-in is not");
  plugin.AddRef();
  checks.Expect(!plugin.Release(), "AddRef and Release did not balance");
  CheckText(plugin.GetName(), "GetName gave no text of the plug-in's own", checks, strings);
  CheckText(plugin.GetFileFilter(), "GetFileFilter gave no text of the plug-in's own", checks,
            strings);
  CheckText(plugin.GetFormatName(), "GetFormatName gave no text of the plug-in's own", checks,
            strings);
}

}  // namespace

int Run(const wchar_t* commandLine) {
  Checks checks;
  Output trace(kStdOutput);
  Arguments arguments(commandLine);
  SettingsStore store;
  Options options;
  if (!ParseOptions(arguments, store, options)) {
    checks.Fail(
        "usage: m5_msvc_host --plugin DLL [--set KEY=VALUE]... "
        "[--fail conversion|allocation:N] FILE...");
    return kUsageError;
  }

  HMODULE library = LoadLibraryW(options.plugin);
  auto create =
      library != nullptr
          ? reinterpret_cast<CreatePluginFunction>(GetProcAddress(library, "CreatePlugin"))
          : nullptr;
  if (create == nullptr) {
    checks.Fail("cannot load the plug-in or find CreatePlugin in it");
    return kUsageError;
  }
  PluginWatch watch(checks, options.injection, options.allocationIndex);
  watch.Install(library);
  Plugin::IGroundBasedMIP* plugin = create();
  if (plugin == nullptr) {
    checks.Fail("CreatePlugin gave null");
    return checks.Count();
  }

  ExerciseIdentity(*plugin, checks, watch.Strings());
  ExerciseSettings(*plugin, store, checks, watch.Strings());

  {
    ConverterFactory factory(trace);
    TraceSink sink(trace, factory, watch);
    FileList files(arguments.From(options.firstFile), arguments.Count() - options.firstFile);
    plugin->Import(&files, &sink);
    factory.CheckBalance(checks);
  }
  trace.Flush();
  checks.Expect(options.injection == Injection::None || watch.Injected(),
                "the failure to inject never happened");

  checks.Expect(plugin->Release(), "the host's last release did not destroy the plug-in");
  watch.Strings().CheckNoneAlive();
  watch.Uninstall();
  FreeLibrary(library);
  checks.Flush();
  return checks.Count();
}

}  // namespace msvchost

int RunHost(const wchar_t* commandLine) {
  return msvchost::Run(commandLine);
}
