#include "import/import_settings.h"

#include <cstddef>

#include "sdk/host_interfaces.h"

namespace {

// The keys in the order the host's store sees them; the defaults are the record's own.
struct StoredSetting {
  const wchar_t* key;
  std::int32_t ImportSettings::*field;
};

constexpr StoredSetting kStoredSettings[] = {
    {L"PointStart", &ImportSettings::PointStart}, {L"PointLen", &ImportSettings::PointLen},
    {L"CodeStart", &ImportSettings::CodeStart},   {L"CodeLen", &ImportSettings::CodeLen},
    {L"AngleMode", &ImportSettings::AngleMode},   {L"CodeStr", &ImportSettings::CodeStr},
};

// The start of a point line as the station writes it, before the point-id text.
constexpr wchar_t kPreviewHead[] = L"Формат:\nFor M5| Adr 00001| PI1   ";
constexpr wchar_t kInvalidLayoutText[] = L"НЕКОРРЕКТНЫЙ ФОРМАТ!!!";

// Last position of a field, in 64 bits: starts and lengths come from user text.
std::int64_t FieldEnd(std::int32_t start, std::int32_t length) {
  return std::int64_t{start} + length - 1;
}

void Mark(std::wstring& mask, std::int32_t start, std::int32_t length, wchar_t letter) {
  mask.replace(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(length),
               static_cast<std::size_t>(length), letter);
}

}  // namespace

void ImportSettings::Load(ISettingsReader* reader) {
  if (reader == nullptr) {
    return;
  }
  const ImportSettings defaults;
  for (const StoredSetting& setting : kStoredSettings) {
    this->*setting.field = reader->ReadInt(setting.key, defaults.*setting.field);
  }
}

void ImportSettings::Save(ISettingsWriter* writer) const {
  if (writer == nullptr) {
    return;
  }
  for (const StoredSetting& setting : kStoredSettings) {
    writer->WriteInt(setting.key, this->*setting.field);
  }
}

bool ImportSettings::IsValidLayout(std::int32_t nameStart, std::int32_t nameLen,
                                   std::int32_t codeStart, std::int32_t codeLen) const {
  // Positions count from 1; a start before that would cut before the text.
  if (nameLen < 1 || codeLen < 1 || nameStart < 1 || codeStart < 1) {
    return false;
  }
  const std::int64_t nameEnd = FieldEnd(nameStart, nameLen);
  const std::int64_t codeEnd = FieldEnd(codeStart, codeLen);
  // The fields may touch but not overlap; only the later one can reach past the width.
  if (nameStart < codeStart) {
    return nameEnd < codeStart && codeEnd <= PointIdWidth;
  }
  return codeEnd < nameStart && nameEnd <= PointIdWidth;
}

std::wstring ImportSettings::PreviewText(std::int32_t nameStart, std::int32_t nameLen,
                                         std::int32_t codeStart, std::int32_t codeLen) const {
  std::wstring text = kPreviewHead;
  if (!IsValidLayout(nameStart, nameLen, codeStart, codeLen)) {
    return text + kInvalidLayoutText;
  }
  // A valid layout lies within positions 1 to PointIdWidth, so both marks fit the mask.
  std::wstring mask(static_cast<std::size_t>(PointIdWidth), L'*');
  Mark(mask, nameStart, nameLen, L'P');
  Mark(mask, codeStart, codeLen, L'C');
  return text + mask;
}
