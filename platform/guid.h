// The class identifier type: Windows' own GUID there, a layout-identical struct elsewhere.
#pragma once

#if defined(_WIN32)
#include <guiddef.h>
#else
#include <cstdint>

struct GUID {
  std::uint32_t Data1;
  std::uint16_t Data2;
  std::uint16_t Data3;
  std::uint8_t Data4[8];
};
#endif
