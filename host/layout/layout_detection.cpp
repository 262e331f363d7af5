#include "host/layout/layout_detection.h"

#include <algorithm>
#include <cctype>
#include <cwctype>
#include <set>

#include "host/layout/point_records.h"
#include "host/os/text_encoding.h"

namespace m5host {

namespace {

enum class CharClass { Blank, Digit, Letter, Other };

CharClass ClassOf(wchar_t c) {
  if (c == 0 || std::iswspace(static_cast<wint_t>(c))) {
    return CharClass::Blank;
  }
  if (c >= L'0' && c <= L'9') {
    return CharClass::Digit;
  }
  const bool latin = (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
  const bool beyondAscii = c >= 0xC0 && c != 0xD7 && c != 0xF7 && c != 0xFFFD;
  return latin || beyondAscii ? CharClass::Letter : CharClass::Other;
}

// The records by column, 1 to 27; a column past a record's end is blank.
class Grid {
 public:
  explicit Grid(const std::vector<std::wstring>& texts) {
    for (const std::wstring& text : texts) {
      std::wstring row = text.substr(0, kPointIdWidth);
      row.resize(kPointIdWidth, L' ');
      m_rows.push_back(std::move(row));
    }
  }

  std::size_t Rows() const { return m_rows.size(); }
  wchar_t At(std::size_t row, int column) const {
    return column >= 1 && column <= kPointIdWidth ? m_rows[row][column - 1] : L' ';
  }
  bool Blank(std::size_t row, int column) const {
    return ClassOf(At(row, column)) == CharClass::Blank;
  }
  // The text of columns first to last, without blanks at either end.
  std::wstring Cut(std::size_t row, int first, int last) const {
    first = std::max(first, 1);
    last = std::min(last, kPointIdWidth);
    while (first <= last && Blank(row, first)) {
      ++first;
    }
    while (last >= first && Blank(row, last)) {
      --last;
    }
    return first > last ? std::wstring() : m_rows[row].substr(first - 1, last - first + 1);
  }
  bool Empty(std::size_t row) const { return Cut(row, 1, kPointIdWidth).empty(); }
  void BlankFrom(int column) {
    for (std::wstring& row : m_rows) {
      for (int c = std::max(column, 1); c <= kPointIdWidth; ++c) {
        row[c - 1] = L' ';
      }
    }
  }

 private:
  std::vector<std::wstring> m_rows;
};

// A run of columns holding text in some record, with blank columns on both sides (or a
// cut made inside a wider run).
struct Slot {
  int first = 0;
  int last = 0;
  int present = 0;    // records with text here
  int multiword = 0;  // records with a blank inside their text here
  std::vector<std::wstring> examples;
  std::size_t distinct = 0;
  bool leftAligned = false;   // one start, several lengths
  bool rightAligned = false;  // one end, several lengths
};

Slot Measure(const Grid& grid, int first, int last) {
  Slot slot;
  slot.first = first;
  slot.last = last;
  std::set<std::wstring> values;
  std::set<int> starts, ends, lengths;
  for (std::size_t row = 0; row < grid.Rows(); ++row) {
    const std::wstring value = grid.Cut(row, first, last);
    if (value.empty()) {
      continue;
    }
    ++slot.present;
    int start = first;
    while (grid.Blank(row, start)) {
      ++start;
    }
    const int end = start + static_cast<int>(value.size()) - 1;
    starts.insert(start);
    ends.insert(end);
    lengths.insert(end - start + 1);
    if (std::any_of(value.begin(), value.end(),
                    [](wchar_t c) { return ClassOf(c) == CharClass::Blank; })) {
      ++slot.multiword;
    }
    if (values.insert(value).second && slot.examples.size() < 3) {
      slot.examples.push_back(value);
    }
  }
  slot.distinct = values.size();
  slot.leftAligned = starts.size() == 1 && lengths.size() > 1;
  slot.rightAligned = ends.size() == 1 && lengths.size() > 1;
  return slot;
}

std::string Columns(int first, int last) {
  return first == last ? "column " + std::to_string(first)
                       : "columns " + std::to_string(first) + "-" + std::to_string(last);
}

std::string Capitalized(std::string text) {
  if (!text.empty()) {
    text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
  }
  return text;
}

std::string Describe(const Slot& slot, std::size_t records) {
  std::string text = Capitalized(Columns(slot.first, slot.last)) + ": text in " +
                     std::to_string(slot.present) + " of " + std::to_string(records) +
                     " records, " + std::to_string(slot.distinct) + " different (";
  for (std::size_t i = 0; i < slot.examples.size(); ++i) {
    text += (i == 0 ? "\"" : ", \"") + ToUtf8(slot.examples[i]) + "\"";
  }
  return text + (slot.distinct > slot.examples.size() ? ", ...)" : ")");
}

// A time of measurement hh:mm closing most records at the same columns; its first column.
std::optional<int> FindTime(const Grid& grid, std::size_t records,
                            std::vector<std::string>& notes) {
  auto isTime = [&grid](std::size_t row, int end) {
    const auto digit = [&](int column) {
      return ClassOf(grid.At(row, column)) == CharClass::Digit;
    };
    const wchar_t tens = grid.At(row, end - 1);
    return (digit(end - 4) || grid.Blank(row, end - 4)) && digit(end - 3) &&
           grid.At(row, end - 2) == L':' && tens >= L'0' && tens <= L'5' && digit(end) &&
           grid.Cut(row, end + 1, kPointIdWidth).empty();
  };
  int bestEnd = 0;
  std::size_t bestCount = 0;
  for (int end = 5; end <= kPointIdWidth; ++end) {
    std::size_t count = 0;
    for (std::size_t row = 0; row < grid.Rows(); ++row) {
      count += isTime(row, end) ? 1 : 0;
    }
    if (count > bestCount) {
      bestCount = count;
      bestEnd = end;
    }
  }
  // Most records, not all: a record keyed in by hand may lack the time.
  if (bestCount == 0 || bestCount * 5 < records * 4) {
    return std::nullopt;
  }
  notes.push_back(Capitalized(Columns(bestEnd - 4, bestEnd)) +
                  " hold a time of measurement (hh:mm) in " + std::to_string(bestCount) + " of " +
                  std::to_string(records) + " records; it belongs to neither field.");
  return bestEnd - 4;
}

std::vector<Slot> FindSlots(const Grid& grid, int limit) {
  std::vector<Slot> slots;
  int first = 0;
  for (int column = 1; column <= limit + 1; ++column) {
    bool used = false;
    for (std::size_t row = 0; column <= limit && row < grid.Rows() && !used; ++row) {
      used = !grid.Blank(row, column);
    }
    if (used && first == 0) {
      first = column;
    } else if (!used && first != 0) {
      slots.push_back(Measure(grid, first, column - 1));
      first = 0;
    }
  }
  return slots;
}

// Two fields written without a blank between them in some records (1100CONTR beside
// 1111   A6) share a run of columns. Records with a blank between them show that the run
// holds two fields; the cut goes where the fewest records would lose a word, and a change
// between digits and letters counts as nearly a blank.
std::vector<Slot> SplitSharedSlots(const Grid& grid, std::vector<Slot> slots,
                                   std::vector<std::string>& notes) {
  std::vector<Slot> result;
  for (const Slot& slot : slots) {
    const bool shared = slot.multiword >= 2 && slot.multiword * 20 >= slot.present;
    if (!shared || slot.first == slot.last) {
      result.push_back(slot);
      continue;
    }
    int bestCut = slot.first;
    int bestCost = -1;
    for (int cut = slot.first; cut < slot.last; ++cut) {
      int cost = 0;
      for (std::size_t row = 0; row < grid.Rows(); ++row) {
        const CharClass before = ClassOf(grid.At(row, cut));
        const CharClass after = ClassOf(grid.At(row, cut + 1));
        if (before != CharClass::Blank && after != CharClass::Blank) {
          constexpr int kWordCut = 4;
          constexpr int kClassChange = 1;
          cost += before == after ? kWordCut : kClassChange;
        }
      }
      if (bestCost < 0 || cost < bestCost) {
        bestCost = cost;
        bestCut = cut;
      }
    }
    notes.push_back(Capitalized(Columns(slot.first, slot.last)) + " hold two fields (" +
                    std::to_string(slot.multiword) +
                    " records have a blank inside them); cut between columns " +
                    std::to_string(bestCut) + " and " + std::to_string(bestCut + 1) +
                    ", where the fewest records run on in the same kind of character.");
    result.push_back(Measure(grid, slot.first, bestCut));
    result.push_back(Measure(grid, bestCut + 1, slot.last));
  }
  return result;
}

std::size_t PresentInAny(const Grid& grid, const std::vector<Slot>& slots) {
  std::size_t count = 0;
  for (std::size_t row = 0; row < grid.Rows(); ++row) {
    count +=
        std::any_of(slots.begin(), slots.end(),
                    [&](const Slot& slot) { return !grid.Cut(row, slot.first, slot.last).empty(); })
            ? 1
            : 0;
  }
  return count;
}

// The last column of the left field, in the blank columns between two slots: up to a field
// that starts in one column, after one that ends in one column, else halfway.
int Boundary(const Slot& left, const Slot& right, std::vector<std::string>& notes) {
  if (left.last + 1 == right.first) {
    return left.last;
  }
  if (right.leftAligned) {
    notes.push_back("The text of " + Columns(right.first, right.last) + " starts in column " +
                    std::to_string(right.first) + " in every record: the field before it " +
                    "ends in column " + std::to_string(right.first - 1) + ".");
    return right.first - 1;
  }
  if (left.rightAligned) {
    notes.push_back("The text of " + Columns(left.first, left.last) + " ends in column " +
                    std::to_string(left.last) + " in every record: the field after it " +
                    "starts in column " + std::to_string(left.last + 1) + ".");
    return left.last;
  }
  const int cut = (left.last + right.first - 1) / 2;
  notes.push_back("Blank " + Columns(left.last + 1, right.first - 1) +
                  " between the two fields: shared halfway, the first field ends in column " +
                  std::to_string(cut) + ".");
  return cut;
}

FieldLayout Make(int nameFirst, int nameLast, int codeFirst, int codeLast) {
  return {nameFirst, nameLast - nameFirst + 1, codeFirst, codeLast - codeFirst + 1};
}

// Only names: the code gets the blank columns on the wider side, halfway to the names.
FieldLayout WithoutCode(const Slot& name, int limit, std::vector<std::string>& notes) {
  notes.push_back("No second field: the code gets blank columns beside the names.");
  const int before = name.first - 1;
  const int after = limit - name.last;
  if (after >= before && after > 0) {
    const int cut = name.last + after / 2;
    return Make(1, cut, cut + 1, limit);
  }
  if (before > 0) {
    const int cut = (before + 1) / 2;
    return Make(cut + 1, limit, 1, cut);
  }
  if (limit < kPointIdWidth) {
    return Make(1, limit, limit + 1, kPointIdWidth);
  }
  notes.push_back("The names fill all 27 characters; the code keeps only the last one.");
  return Make(1, kPointIdWidth - 1, kPointIdWidth, kPointIdWidth);
}

// The last column of a field, kept within reach of the text whatever the settings hold.
int LastColumn(int start, int length) {
  const long long last = static_cast<long long>(start) + length - 1;
  return static_cast<int>(std::clamp<long long>(last, -1, kPointIdWidth + 1));
}

}  // namespace

LayoutProposal ProposeLayout(const std::vector<std::wstring>& texts) {
  LayoutProposal proposal;
  std::vector<std::string>& notes = proposal.notes;
  Grid grid(texts);
  std::size_t records = 0;
  for (std::size_t row = 0; row < grid.Rows(); ++row) {
    records += grid.Empty(row) ? 0 : 1;
  }
  notes.push_back(std::to_string(texts.size()) + " point records, " + std::to_string(records) +
                  " of them with text.");
  if (records == 0) {
    notes.push_back("Nothing to read a layout from.");
    return proposal;
  }
  int limit = kPointIdWidth;
  if (const std::optional<int> time = FindTime(grid, records, notes)) {
    limit = *time - 1;
    grid.BlankFrom(*time);
  }
  std::vector<Slot> slots = SplitSharedSlots(grid, FindSlots(grid, limit), notes);
  if (slots.empty()) {
    notes.push_back("Only the time of measurement holds text.");
    return proposal;
  }
  // The name is the field that is there most often and differs most; codes repeat.
  const auto name = std::max_element(slots.begin(), slots.end(), [](const Slot& a, const Slot& b) {
    return std::make_pair(a.present, a.distinct) < std::make_pair(b.present, b.distinct);
  });
  const std::vector<Slot> before(slots.begin(), name);
  const std::vector<Slot> after(name + 1, slots.end());
  const bool codeAfter = !after.empty() && PresentInAny(grid, after) >= PresentInAny(grid, before);
  const std::vector<Slot>& codeSlots = codeAfter ? after : before;
  for (const Slot& slot : slots) {
    const bool isName = &slot == &*name;
    const bool isCode =
        (codeAfter ? slot.first > name->last : slot.last < name->first) && !codeSlots.empty();
    notes.push_back(Describe(slot, records) + (isName   ? ": the point name."
                                               : isCode ? ": the point code."
                                                        : ": left out."));
  }
  if (codeSlots.empty()) {
    proposal.layout = WithoutCode(*name, limit, notes);
  } else if (codeAfter) {
    const int cut = Boundary(*name, after.front(), notes);
    const int nameFirst =
        before.empty() ? 1 : name->first - (name->first - before.back().last - 1) / 2;
    proposal.layout = Make(nameFirst, cut, cut + 1, limit);
  } else {
    const int cut = Boundary(before.back(), *name, notes);
    const int nameLast =
        after.empty() ? limit : name->last + (after.front().first - name->last - 1) / 2;
    proposal.layout = Make(cut + 1, nameLast, 1, cut);
  }
  return proposal;
}

LayoutFit JudgeLayout(const std::vector<std::wstring>& texts, const FieldLayout& layout) {
  const Grid grid(texts);
  // A field that begins or ends between two letters or two digits cuts a word.
  auto cuts = [&grid](std::size_t row, int start, int length) {
    const int last = LastColumn(start, length);
    auto joined = [&](int a, int b) {
      const CharClass first = ClassOf(grid.At(row, a));
      return first != CharClass::Blank && first != CharClass::Other &&
             first == ClassOf(grid.At(row, b));
    };
    return (start > 1 && joined(start - 1, start)) ||
           (last < kPointIdWidth && joined(last, last + 1));
  };
  std::size_t records = 0;
  std::size_t emptyNames = 0;
  std::size_t cutWords = 0;
  for (std::size_t row = 0; row < grid.Rows(); ++row) {
    if (grid.Empty(row)) {
      continue;
    }
    ++records;
    const int nameLast = LastColumn(layout.nameStart, layout.nameLength);
    emptyNames += grid.Cut(row, layout.nameStart, nameLast).empty() ? 1 : 0;
    cutWords += cuts(row, layout.nameStart, layout.nameLength) ||
                        cuts(row, layout.codeStart, layout.codeLength)
                    ? 1
                    : 0;
  }
  if (emptyNames * 2 > records) {
    return LayoutFit::NamesEmpty;
  }
  return cutWords * 2 > records ? LayoutFit::CutMidWord : LayoutFit::Fits;
}

}  // namespace m5host
