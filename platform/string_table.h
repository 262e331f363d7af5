// The plug-in's user-visible texts, looked up by number when they are shown.
#pragma once

#include <string>

namespace m5::platform {

// The text with this number from the plug-in's own string table; empty when absent.
std::wstring LoadResourceString(unsigned int id);

}  // namespace m5::platform
