#include "host/outputs/plan/plan_footer.h"

#include <algorithm>
#include <iterator>

#include "host/outputs/plan/svg_text.h"

namespace m5host {

namespace {

// Colours told apart on screen and on paper; red is the stations'.
constexpr const char* kCodeColours[] = {"#1f77b4", "#2ca02c", "#ff7f0e", "#9467bd",
                                        "#8c564b", "#e377c2", "#17becf", "#bcbd22"};
constexpr const char* kOtherCodes = "#999";
constexpr const char* kNoCode = "black";

constexpr double kRow = 14;
constexpr double kHeading = 18;
constexpr std::size_t kRowsPerColumn = 8;
constexpr double kSwatch = 16;  // the symbol before an entry's text
constexpr double kColumnGap = 14;

constexpr double kBlockRow = 16;
constexpr double kKeyScale = 9.0 / 11;  // keys at font size 9
constexpr double kCellPadding = 6;

std::string Counted(const std::string& what, std::size_t count) {
  return what + " (" + std::to_string(count) + ")";
}

}  // namespace

void CodeLegend::CountPoint(const std::string& code) {
  ++m_counts[code];
}

void CodeLegend::Finish() {
  std::vector<std::pair<std::string, std::size_t>> coded;
  for (const auto& [code, count] : m_counts) {
    if (!code.empty()) {
      coded.emplace_back(code, count);
    }
  }
  // The commonest first; codes of one count in their order.
  std::stable_sort(coded.begin(), coded.end(),
                   [](const auto& a, const auto& b) { return a.second > b.second; });
  for (std::size_t i = 0; i < coded.size() && i < std::size(kCodeColours); ++i) {
    m_colours[coded[i].first] = kCodeColours[i];
  }
}

const char* CodeLegend::ColourOf(const std::string& code) const {
  if (code.empty()) {
    return kNoCode;
  }
  const auto found = m_colours.find(code);
  return found == m_colours.end() ? kOtherCodes : found->second;
}

std::vector<CodeLegend::Entry> CodeLegend::Entries() const {
  std::vector<Entry> entries;
  if (m_stations != 0) {
    entries.push_back({Counted("station", m_stations), nullptr, Swatch::Station});
  }
  if (m_computed != 0) {
    entries.push_back({Counted("computed from observation", m_computed), kNoCode, Swatch::Ring});
  }
  std::vector<std::pair<std::string, std::size_t>> coloured;
  std::size_t others = 0, othersCodes = 0;
  for (const auto& [code, count] : m_counts) {
    if (code.empty()) {
      continue;
    }
    if (m_colours.count(code) != 0) {
      coloured.emplace_back(code, count);
    } else {
      others += count;
      ++othersCodes;
    }
  }
  std::stable_sort(coloured.begin(), coloured.end(),
                   [](const auto& a, const auto& b) { return a.second > b.second; });
  for (const auto& [code, count] : coloured) {
    entries.push_back({Counted(code, count), m_colours.at(code)});
  }
  if (others != 0) {
    entries.push_back({Counted(std::to_string(othersCodes) + " other codes", others), kOtherCodes});
  }
  if (const auto none = m_counts.find(""); none != m_counts.end()) {
    entries.push_back({Counted("no code", none->second), kNoCode});
  }
  return entries;
}

double CodeLegend::Width() const {
  const std::vector<Entry> entries = Entries();
  double width = 0;
  for (std::size_t first = 0; first < entries.size(); first += kRowsPerColumn) {
    double column = 0;
    for (std::size_t i = first; i < std::min(first + kRowsPerColumn, entries.size()); ++i) {
      column = std::max(column, kSwatch + TextWidth(entries[i].text));
    }
    width += (first == 0 ? 0 : kColumnGap) + column;
  }
  return std::max(width, TextWidth("Legend"));
}

double CodeLegend::Height() const {
  const std::size_t rows = std::min(Entries().size(), kRowsPerColumn);
  return kHeading + static_cast<double>(rows) * kRow;
}

void CodeLegend::Write(std::ostream& out, double left, double top) const {
  const std::vector<Entry> entries = Entries();
  out << "<g class=\"legend\">\n<text x=\"" << Number(left) << "\" y=\"" << Number(top + 12)
      << "\" font-weight=\"bold\">Legend</text>\n";
  double columnLeft = left, columnWidth = 0;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (i != 0 && i % kRowsPerColumn == 0) {
      columnLeft += columnWidth + kColumnGap;
      columnWidth = 0;
    }
    const Entry& entry = entries[i];
    const double y = top + kHeading + static_cast<double>(i % kRowsPerColumn) * kRow + 7;
    const double x = columnLeft + 5;
    if (entry.swatch == Swatch::Station) {
      out << "<polygon points=\"" << Number(x) << ',' << Number(y - 6) << ' ' << Number(x - 5)
          << ',' << Number(y + 3) << ' ' << Number(x + 5) << ',' << Number(y + 3)
          << "\" fill=\"none\" stroke=\"#c00\" stroke-width=\"1.5\"/>\n";
    } else if (entry.swatch == Swatch::Ring) {
      out << "<circle cx=\"" << Number(x) << "\" cy=\"" << Number(y) << "\" r=\"4\" fill=\"none\" "
          << "stroke=\"" << entry.colour << "\" stroke-width=\"1.2\"/>\n";
    } else {
      out << "<circle cx=\"" << Number(x) << "\" cy=\"" << Number(y) << "\" r=\"2.5\" fill=\""
          << entry.colour << "\"/>\n";
    }
    out << "<text x=\"" << Number(columnLeft + kSwatch) << "\" y=\"" << Number(y + 4) << "\">"
        << Xml(entry.text) << "</text>\n";
    columnWidth = std::max(columnWidth, kSwatch + TextWidth(entry.text));
  }
  out << "</g>\n";
}

double TitleBlock::Width() const {
  double keys = 0, values = 0;
  for (const auto& [key, value] : rows) {
    keys = std::max(keys, TextWidth(key) * kKeyScale);
    values = std::max(values, TextWidth(value));
  }
  return keys + values + 4 * kCellPadding;
}

double TitleBlock::Height() const {
  return static_cast<double>(rows.size()) * kBlockRow;
}

void TitleBlock::Write(std::ostream& out, double left, double top) const {
  double keys = 0;
  for (const auto& row : rows) {
    keys = std::max(keys, TextWidth(row.first) * kKeyScale);
  }
  const double divider = left + keys + 2 * kCellPadding;
  out << "<g class=\"title-block\">\n<rect x=\"" << Number(left) << "\" y=\"" << Number(top)
      << "\" width=\"" << Number(Width()) << "\" height=\"" << Number(Height())
      << "\" fill=\"none\" stroke=\"black\"/>\n<path d=\"M" << Number(divider) << ',' << Number(top)
      << " v" << Number(Height());
  for (std::size_t i = 1; i < rows.size(); ++i) {
    out << " M" << Number(left) << ',' << Number(top + static_cast<double>(i) * kBlockRow) << " h"
        << Number(Width());
  }
  out << "\" stroke=\"black\" stroke-width=\"0.5\"/>\n";
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const double base = top + static_cast<double>(i + 1) * kBlockRow - 4;
    out << "<text x=\"" << Number(left + kCellPadding) << "\" y=\"" << Number(base)
        << "\" font-size=\"9\" fill=\"#555\">" << Xml(rows[i].first) << "</text>\n<text x=\""
        << Number(divider + kCellPadding) << "\" y=\"" << Number(base) << "\">"
        << Xml(rows[i].second) << "</text>\n";
  }
  out << "</g>\n";
}

}  // namespace m5host
