// The smallest host: loads the plug-in named on the command line through the installed
// headers alone and prints its kind and file filter.
#include <dlfcn.h>

#include <cstdio>

#include "sdk/create_plugin.h"
#include "sdk/host_interfaces.h"
#include "sdk/ref.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: sdk_host PLUGIN\n");
    return 2;
  }
  void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    std::fprintf(stderr, "sdk_host: %s\n", dlerror());
    return 2;
  }
  auto create = reinterpret_cast<CreatePluginFunction>(dlsym(library, "CreatePlugin"));
  int status = 1;
  if (create != nullptr) {
    auto plugin = Plugin::Ref<Plugin::IGroundBasedMIP>::adopt(create());
    if (plugin) {
      BSTR filter = plugin->GetFileFilter();
      std::printf("kind %d, filter %ls\n", plugin->GetKind(), filter != nullptr ? filter : L"");
      SysFreeString(filter);
      status = 0;
    }
  }
  dlclose(library);
  return status;
}
