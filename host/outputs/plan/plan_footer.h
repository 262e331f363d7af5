// The foot of a plan: a legend of the codes its points carry, and a title block saying what
// the plan shows, when, at which scale and in which units and grid.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace m5host {

// The points' codes, each of the commonest in a colour of its own and the rest in one grey.
class CodeLegend {
 public:
  // One observed point drawn with this code ("" for none), or one station.
  void CountPoint(const std::string& code);
  void CountStation() { ++m_stations; }
  // One point drawn where its observation places it.
  void CountComputed() { ++m_computed; }
  // Gives the commonest codes their colours: after every point is counted.
  void Finish();

  // The dot's fill for a point of this code.
  const char* ColourOf(const std::string& code) const;
  bool Empty() const { return m_counts.empty() && m_stations == 0 && m_computed == 0; }
  double Width() const;
  double Height() const;
  void Write(std::ostream& out, double left, double top) const;

 private:
  enum class Swatch : std::uint8_t { Dot, Station, Ring };
  struct Entry {
    std::string text;
    const char* colour;
    Swatch swatch = Swatch::Dot;
  };
  std::vector<Entry> Entries() const;

  std::map<std::string, std::size_t> m_counts;
  std::map<std::string, const char*> m_colours;
  std::size_t m_stations = 0;
  std::size_t m_computed = 0;
};

// Rows of what and its value in a ruled box: files, date, scale, units, grid.
struct TitleBlock {
  std::vector<std::pair<std::string, std::string>> rows;

  double Width() const;
  double Height() const;
  void Write(std::ostream& out, double left, double top) const;
};

}  // namespace m5host
