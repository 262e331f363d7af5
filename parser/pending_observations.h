// The observations collected for the station being set up, until its flush: in file order,
// found by name when a point with coordinates becomes the station, and each turned once, by
// the first orientation given after it joined. A line's work does not grow with their number.
#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "parser/point_record.h"

namespace m5 {

// An oriented direction brought into [0, full circle), as the instrument software reduces it.
double NormaliseDirection(double direction);

class CPendingObservations {
 public:
  bool Empty() const { return m_liveCount == 0; }

  // The observation committed most recently that is still waiting, or null.
  const PointRecord* Last() const;

  void Add(PointRecordPtr record);

  // Takes out the latest waiting record of that name whose X and Y are both set, with its
  // direction brought up to date; null when there is none.
  PointRecordPtr TakeLatestWithPosition(const std::wstring& name);

  // Turns the direction of every record waiting now (not of those added later) by the
  // orientation, unless an earlier turn or Settle already gave the record its own. The turn
  // is made when a record is read.
  void Turn(double orientation);
  // The records waiting now keep their directions as they are: a new orientation given
  // after them is not theirs.
  void Settle();

  // Visits the waiting records in file order, each with its direction brought up to date.
  template <class Visit>
  void ForEach(Visit&& visit) {
    for (Entry& entry : m_entries) {
      if (entry.record) {
        BringUpToDate(entry);
        visit(entry.record);
      }
    }
  }

  // Forgets every record; those nothing else holds go to spare for reuse.
  void Clear(std::vector<PointRecordPtr>& spare);

 private:
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

  struct Entry {
    PointRecordPtr record;  // empty once taken as the station
    // Orientations given before the record joined; kNone once it took its turn.
    std::size_t turnsSeen;
    std::size_t previousWithPosition;  // the earlier entry of this name with X and Y, or kNone
  };

  using NameIndex = std::unordered_map<std::wstring, std::size_t>;

  void BringUpToDate(Entry& entry) const;
  void DropTrailingTakenEntries();

  std::vector<Entry> m_entries;
  std::size_t m_liveCount = 0;
  // The latest entry with X and Y per name; earlier ones are chained through the entries.
  NameIndex m_latestWithPosition;
  // Index nodes of earlier stations, reused with their name buffers.
  std::vector<NameIndex::node_type> m_spareNodes;
  // Orientations given since the last flush; 0 where Settle closed the records before it.
  std::vector<double> m_turns;
};

}  // namespace m5
