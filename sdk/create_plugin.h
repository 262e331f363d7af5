// The plug-in library's only export.
#pragma once

#include "sdk/plugin_export.h"
#include "sdk/plugin_interfaces.h"

extern "C" {

// A new plug-in object holding one reference, which the caller ends with Release.
// Null only when the object cannot be allocated; it never throws. Any thread may call it;
// each object is then driven as plugin_interfaces.h tells. The library may be unloaded
// only after the last object is gone.
M5_PLUGIN_EXPORT Plugin::IGroundBasedMIP* M5_PLUGIN_CALL CreatePlugin();

// The type a host uses for the symbol it looks up at run time.
typedef Plugin::IGroundBasedMIP*(M5_PLUGIN_CALL* CreatePluginFunction)();
}
