#include "sdk/create_plugin.h"

#include <new>
#include <type_traits>

#include "import/plugin.h"

// Nothrow new only covers the allocation; the object's construction must not throw either.
static_assert(std::is_nothrow_default_constructible_v<CImportPluginImpl>,
              "CreatePlugin cannot report a failing construction");

extern "C" M5_PLUGIN_EXPORT Plugin::IGroundBasedMIP* M5_PLUGIN_CALL CreatePlugin() {
  // The export has no error result: an object that cannot be allocated is a null plug-in,
  // never an exception across the boundary.
  auto* plugin = new (std::nothrow) CImportPluginImpl();
  if (plugin == nullptr) {
    return nullptr;
  }
  plugin->AddRef();
  return plugin;
}
