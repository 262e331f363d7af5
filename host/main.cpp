// m5import: loads the plug-in library as a host application does and shows its identity.
#include <dlfcn.h>

#include <cstdio>
#include <string>

#include "platform/system_string.h"
#include "sdk/create_plugin.h"

namespace {

std::string Utf8(const wchar_t* text) {
  std::string out;
  for (; text != nullptr && *text != 0; ++text) {
    const auto cp = static_cast<unsigned>(*text);
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  return out;
}

std::string Take(BSTR text) {
  std::string out = Utf8(text);
  SysFreeString(text);
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  const char* path = argc > 1 ? argv[1] : M5_DEFAULT_PLUGIN;
  void* library = dlopen(path, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    std::fprintf(stderr, "m5import: cannot load %s: %s\n", path, dlerror());
    return 2;
  }
  auto create = reinterpret_cast<CreatePluginFunction>(dlsym(library, "CreatePlugin"));
  if (create == nullptr) {
    std::fprintf(stderr, "m5import: %s has no CreatePlugin\n", path);
    return 2;
  }
  Plugin::IGroundBasedMIP* plugin = create();
  if (plugin == nullptr) {
    std::fprintf(stderr, "m5import: CreatePlugin returned nothing\n");
    return 2;
  }
  std::printf("name:   %s\n", Take(plugin->GetName()).c_str());
  std::printf("format: %s\n", Take(plugin->GetFormatName()).c_str());
  std::printf("filter: %s\n", Take(plugin->GetFileFilter()).c_str());
  std::printf("kind:   %d\n", plugin->GetKind());
  plugin->Release();
  dlclose(library);
  return 0;
}
