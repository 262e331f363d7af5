#include "parser/pending_observations.h"

#include <cmath>
#include <utility>

namespace m5 {

namespace {

// The circle as the instrument software rounds it; directions are reduced with these,
// not with the exact values, so that stored files import as they always have.
constexpr double kHalfCircle = 3.1415926535898;
constexpr double kFullCircle = 6.2831853071796;
// A direction this close below the full circle (0.01") is north.
constexpr double kNorthSnap = 6.283185258698232;

// Brings a direction near [0, full circle) by whole turns.
void ReduceByCircle(double& v) {
  // For huge angles whole turns no longer change the value; the remainder keeps the loops
  // below to a step or two instead of spinning forever.
  if (!(std::fabs(v) <= 4 * kFullCircle)) {
    v = std::fmod(v, kFullCircle);
  }
  while (v - kHalfCircle >= kHalfCircle) {
    v -= kFullCircle;
  }
  while (v - kHalfCircle < -kHalfCircle) {
    v += kFullCircle;
  }
}

// One orientation applied to a direction; a sum beyond any circle is not a direction.
void TurnDirection(Measured& hz, double orientation) {
  // No orientation (0) settles a record without touching its direction.
  if (!hz || orientation == 0.0) {
    return;
  }
  hz = NormaliseDirection(*hz + orientation);
  if (!std::isfinite(*hz)) {
    hz.reset();
  }
}

}  // namespace

double NormaliseDirection(double v) {
  if (v > kFullCircle) {
    v = v - std::floor(v / kFullCircle) * kFullCircle;
    ReduceByCircle(v);
  } else if (v < 0) {
    if (v <= -kFullCircle) {
      v = v - std::ceil(v / kFullCircle) * kFullCircle;
    }
    ReduceByCircle(v);
  }
  if (v > kNorthSnap) {
    v = 0;
  }
  return v;
}

const PointRecord* CPendingObservations::Last() const {
  // Taken entries at the end are dropped as they are taken, so the last one is live.
  return m_entries.empty() ? nullptr : m_entries.back().record.get();
}

void CPendingObservations::Add(PointRecordPtr record) {
  Entry entry{std::move(record), m_turns.size(), kNone};
  const std::size_t index = m_entries.size();
  if (entry.record->HasPosition()) {
    // A pending record's coordinates never change, so it is indexed once, here.
    const auto found = m_latestWithPosition.find(entry.record->name);
    if (found != m_latestWithPosition.end()) {
      entry.previousWithPosition = found->second;
      found->second = index;
    } else if (m_spareNodes.empty()) {
      m_latestWithPosition.emplace(entry.record->name, index);
    } else {
      NameIndex::node_type node = std::move(m_spareNodes.back());
      m_spareNodes.pop_back();
      node.key().assign(entry.record->name);
      node.mapped() = index;
      m_latestWithPosition.insert(std::move(node));
    }
  }
  m_entries.push_back(std::move(entry));
  ++m_liveCount;
}

PointRecordPtr CPendingObservations::TakeLatestWithPosition(const std::wstring& name) {
  const auto found = m_latestWithPosition.find(name);
  if (found == m_latestWithPosition.end()) {
    return nullptr;
  }
  Entry& entry = m_entries[found->second];
  if (entry.previousWithPosition == kNone) {
    m_spareNodes.push_back(m_latestWithPosition.extract(found));
  } else {
    found->second = entry.previousWithPosition;
  }
  BringUpToDate(entry);
  PointRecordPtr record = std::move(entry.record);
  entry.record.reset();
  --m_liveCount;
  DropTrailingTakenEntries();
  return record;
}

void CPendingObservations::DropTrailingTakenEntries() {
  // Only the latest entry of a name is ever taken, so no chain points past the live end.
  while (!m_entries.empty() && !m_entries.back().record) {
    m_entries.pop_back();
  }
}

void CPendingObservations::Turn(double orientation) {
  m_turns.push_back(orientation);
}

void CPendingObservations::Settle() {
  if (!m_entries.empty()) {
    m_turns.push_back(0.0);
  }
}

void CPendingObservations::BringUpToDate(Entry& entry) const {
  // A record takes the first orientation given after it joined, and no later one: those
  // were given for directions measured after it.
  if (entry.turnsSeen < m_turns.size()) {
    TurnDirection(entry.record->hz, m_turns[entry.turnsSeen]);
    entry.turnsSeen = kNone;
  }
}

void CPendingObservations::Clear(std::vector<PointRecordPtr>& spare) {
  for (Entry& entry : m_entries) {
    if (!entry.record) {
      continue;
    }
    if (entry.record->HasPosition()) {
      const auto found = m_latestWithPosition.find(entry.record->name);
      if (found != m_latestWithPosition.end()) {
        m_spareNodes.push_back(m_latestWithPosition.extract(found));
      }
    }
    if (entry.record.use_count() == 1) {
      spare.push_back(std::move(entry.record));
    }
  }
  m_entries.clear();
  m_liveCount = 0;
  m_turns.clear();
}

}  // namespace m5
