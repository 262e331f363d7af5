// What became of each data block of one line: its value reached the point record or the
// survey's values, or it was not used for a reason a message names. The parser decides a
// block's fate where it reads the block; before the line is released the blocks that no
// message on the line names yet are named together in one warning.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "values/white_space.h"

namespace m5 {

enum class BlockFate {
  // Nothing written to read: an empty block, or a type code alone.
  NoValue,
  // Its value reached the point record or the survey's values.
  Delivered,
  // Not used, and a message on its line already says so.
  Named,
  // Not used, and named by the ledger: the value does not read as a number (or lies beyond
  // any number);
  ValueUnreadable,
  // the same for a survey value (th, ih, T, P), whose earlier value stays in force;
  SurveyValueUnreadable,
  // a type code no row knows, or type, value and unit not apart;
  TypeUnknown,
  // a unit the table does not know, or of another quantity than the block's;
  UnitUnfit,
  // a value this kind of record, or a skipped section, does not read.
  NotReadHere,
};

// True for the fates the ledger names itself.
constexpr bool IsUnaccounted(BlockFate fate) {
  return fate != BlockFate::NoValue && fate != BlockFate::Delivered && fate != BlockFate::Named;
}

// The block as a message names it: its words one blank apart, at most a few dozen
// characters (a longer one is cut and ends in an ellipsis).
std::wstring ShownBlock(std::wstring_view block, const CWhiteSpace& isSpace);

class CLineLedger {
 public:
  static constexpr std::size_t kBlocks = 3;

  // A new line: the record its blocks belong to, as a message names it (a point's name or
  // a text record's text), a view valid while the line is read.
  void Open(std::wstring_view record);
  void Record(std::wstring_view block, BlockFate fate);
  // A message on the line named the blocks of this fate.
  void Name(BlockFate fate);

  std::wstring_view RecordName() const { return m_record; }
  // The unaccounted blocks, each with its fate, in line order.
  template <class Visit>
  void ForEachUnaccounted(Visit&& visit) const {
    for (std::size_t i = 0; i < m_count; ++i) {
      if (IsUnaccounted(m_fates[i])) {
        visit(m_blocks[i], m_fates[i]);
      }
    }
  }
  bool AllAccounted() const;

 private:
  std::wstring_view m_record;
  std::array<std::wstring_view, kBlocks> m_blocks{};
  std::array<BlockFate, kBlocks> m_fates{};
  std::size_t m_count = 0;
};

}  // namespace m5
