#include "parser/line_ledger.h"

namespace m5 {

std::wstring ShownBlock(std::wstring_view block, const CWhiteSpace& isSpace) {
  // Enough for any block an instrument writes; a longer text is named by its start.
  constexpr std::size_t kShownLength = 32;
  std::wstring shown;
  bool blank = false;
  for (const wchar_t c : block) {
    if (isSpace(c)) {
      blank = !shown.empty();
      continue;
    }
    if (shown.size() + (blank ? 1 : 0) >= kShownLength) {
      if (!shown.empty() && shown.back() >= 0xD800 && shown.back() <= 0xDBFF) {
        shown.pop_back();  // never half a character
      }
      shown += L'\u2026';
      return shown;
    }
    if (blank) {
      shown += L' ';
      blank = false;
    }
    shown += c;
  }
  return shown;
}

void CLineLedger::Open(std::wstring_view record) {
  m_record = record;
  m_count = 0;
}

void CLineLedger::Record(std::wstring_view block, BlockFate fate) {
  if (m_count < kBlocks) {
    m_blocks[m_count] = block;
    m_fates[m_count] = fate;
    ++m_count;
  }
}

void CLineLedger::Name(BlockFate fate) {
  for (std::size_t i = 0; i < m_count; ++i) {
    if (m_fates[i] == fate) {
      m_fates[i] = BlockFate::Named;
    }
  }
}

bool CLineLedger::AllAccounted() const {
  for (std::size_t i = 0; i < m_count; ++i) {
    if (IsUnaccounted(m_fates[i])) {
      return false;
    }
  }
  return true;
}

}  // namespace m5
