// Redirects one function a loaded module imports, by rewriting its import address table:
// how the host watches the plug-in's system-string calls and makes its system calls fail.
#pragma once

#include "system.h"

namespace msvchost {

class ImportPatch {
 public:
  ImportPatch() = default;
  ImportPatch(const ImportPatch&) = delete;
  ImportPatch& operator=(const ImportPatch&) = delete;
  ~ImportPatch() { Restore(); }

  // Points module's import of `function` from `dll` (names compared without regard to
  // case) at replacement; false when the module imports no such function. The original is
  // then Original().
  bool Apply(HMODULE module, const char* dll, const char* function, void* replacement);
  void Restore();
  void* Original() const { return m_original; }

 private:
  void** m_slot = nullptr;
  void* m_original = nullptr;
};

}  // namespace msvchost
