// Where the point name and the point code lie in the 27-character point-identification texts
// of a survey: proposed from the records themselves, and checked against a layout in use.
// Instruments and their export software place the two fields differently (a name right-aligned
// at the end, a code in the middle, a time of measurement after the code), and a wrong layout
// names points after their codes or not at all.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace m5host {

// Starts count from 1, as the settings do.
struct FieldLayout {
  int nameStart = 1;
  int nameLength = 14;
  int codeStart = 15;
  int codeLength = 13;
};

struct LayoutProposal {
  std::optional<FieldLayout> layout;  // none without a single point record
  std::vector<std::string> notes;     // what was seen, in plain lines
};

LayoutProposal ProposeLayout(const std::vector<std::wstring>& texts);

enum class LayoutFit { Fits, NamesEmpty, CutMidWord };

// Whether the layout plainly does not fit: most names empty, or most names or codes cut in
// the middle of a word.
LayoutFit JudgeLayout(const std::vector<std::wstring>& texts, const FieldLayout& layout);

}  // namespace m5host
