#include "import_patch.h"

namespace msvchost {

namespace {

// Offsets in the PE image, the same for the 32- and 64-bit layouts unless said otherwise.
constexpr SizeT kNtHeadersOffsetField = 0x3C;
constexpr SizeT kOptionalHeaderOffset = 4 + 20;  // "PE\0\0" and the file header
constexpr unsigned short kMagicPe32Plus = 0x20B;
constexpr SizeT kDataDirectoryPe32 = 96;
constexpr SizeT kDataDirectoryPe32Plus = 112;
constexpr SizeT kImportDirectoryEntry = 1;
constexpr SizeT kImportDescriptorSize = 20;
constexpr SizeT kOrdinalFlagShift = sizeof(void*) * 8 - 1;

template <class T>
T Read(const unsigned char* at) {
  T value;
  __builtin_memcpy(&value, at, sizeof value);
  return value;
}

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(const char* a, const char* b) {
  for (; *a != '\0' && Lower(*a) == Lower(*b); ++a, ++b) {
  }
  return Lower(*a) == Lower(*b);
}

}  // namespace

bool ImportPatch::Apply(HMODULE module, const char* dll, const char* function, void* replacement) {
  Restore();
  const auto* base = static_cast<const unsigned char*>(module);
  const unsigned char* nt = base + Read<unsigned int>(base + kNtHeadersOffsetField);
  const unsigned char* optional = nt + kOptionalHeaderOffset;
  const SizeT directories = Read<unsigned short>(optional) == kMagicPe32Plus
                                ? kDataDirectoryPe32Plus
                                : kDataDirectoryPe32;
  const unsigned int importRva =
      Read<unsigned int>(optional + directories + 8 * kImportDirectoryEntry);
  if (importRva == 0) {
    return false;
  }
  for (const unsigned char* descriptor = base + importRva;; descriptor += kImportDescriptorSize) {
    const unsigned int namesRva = Read<unsigned int>(descriptor);
    const unsigned int dllNameRva = Read<unsigned int>(descriptor + 12);
    const unsigned int addressesRva = Read<unsigned int>(descriptor + 16);
    if (dllNameRva == 0) {
      return false;
    }
    if (!SameName(reinterpret_cast<const char*>(base + dllNameRva), dll)) {
      continue;
    }
    const auto* names =
        reinterpret_cast<const SizeT*>(base + (namesRva != 0 ? namesRva : addressesRva));
    auto** addresses = reinterpret_cast<void**>(const_cast<unsigned char*>(base) + addressesRva);
    for (SizeT i = 0; names[i] != 0; ++i) {
      if ((names[i] >> kOrdinalFlagShift) != 0) {
        continue;  // imported by number
      }
      const auto* name = reinterpret_cast<const char*>(base + names[i] + 2);  // after the hint
      if (!SameName(name, function)) {
        continue;
      }
      DWORD protection = 0;
      if (!VirtualProtect(&addresses[i], sizeof(void*), kPageReadWrite, &protection)) {
        return false;
      }
      m_slot = &addresses[i];
      m_original = *m_slot;
      *m_slot = replacement;
      VirtualProtect(m_slot, sizeof(void*), protection, &protection);
      return true;
    }
  }
}

void ImportPatch::Restore() {
  if (m_slot == nullptr) {
    return;
  }
  DWORD protection = 0;
  if (VirtualProtect(m_slot, sizeof(void*), kPageReadWrite, &protection)) {
    *m_slot = m_original;
    VirtualProtect(m_slot, sizeof(void*), protection, &protection);
  }
  m_slot = nullptr;
}

}  // namespace msvchost
