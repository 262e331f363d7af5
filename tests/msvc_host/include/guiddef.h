// The GUID layout the plug-in's headers expect from Windows, for a host built without any
// Windows headers.
#pragma once

struct GUID {
  unsigned long Data1;
  unsigned short Data2;
  unsigned short Data3;
  unsigned char Data4[8];
};
