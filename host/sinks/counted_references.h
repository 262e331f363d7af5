// The references the plug-in holds on what the host hands out, counted so that an import
// that leaks or over-releases a converter is caught instead of crashing. It needs no
// library, so the Microsoft-ABI test host, built without one, counts the same way.
#pragma once

#include "sdk/host_interfaces.h"

namespace m5host {

// What the plug-in did wrong with the references of one factory and its converters.
struct ReferenceMisuse {
  int overReleases = 0;      // releases beyond the last reference
  int usedAfterRelease = 0;  // Parse on a converter whose last reference was gone
};

// The references of one object. Objects stay allocated until their factory goes, so a
// release too many is counted rather than touching freed memory.
class CountedReferences {
 public:
  explicit CountedReferences(ReferenceMisuse& misuse) : m_misuse(&misuse) {}

  int References() const { return m_references; }
  void AddRef() { ++m_references; }
  // Whether this was the last reference; a release beyond it is counted, not applied.
  bool Release() {
    if (m_references <= 0) {
      ++m_misuse->overReleases;
      return false;
    }
    --m_references;
    return m_references == 0;
  }
  // Counts a use after the last release.
  void Used() {
    if (m_references <= 0) {
      ++m_misuse->usedAfterRelease;
    }
  }

 private:
  ReferenceMisuse* m_misuse;
  int m_references = 0;
};

// A converter factory the host owns: the plug-in's references on it are counted, and its
// last release does not destroy it.
class CountedFactory : public IConverterFactory {
 public:
  void AddRef() override { m_references.AddRef(); }
  bool Release() override {
    m_references.Release();
    return false;
  }

 protected:
  ReferenceMisuse m_misuse;                  // of the factory and all its converters
  CountedReferences m_references{m_misuse};  // the factory's own
};

}  // namespace m5host
