// One point line of an M5 file: the point's name and code and what was measured to it.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include <boost/variant.hpp>

namespace m5 {

// A measured or entered value, absent while the file has not given it; an absent value is
// never sent to the host. Any finite number a file holds is a value, the largest included.
using Measured = std::optional<double>;

inline bool IsSet(const Measured& value) {
  return value.has_value();
}

// The point kind the host gets for a record: none yet, or a number.
using PointKind = boost::variant<boost::blank, int>;

struct PointRecord {
  std::wstring name;
  std::wstring code;
  Measured slopeDistance;
  Measured horizontalDistance;
  Measured hz;
  Measured vertical;
  Measured x;
  Measured y;
  Measured z;
  Measured heightDiff;
  Measured targetHeight;
  PointKind kind;
  // The 0-based file line the record came from, so that a message about it lands there.
  std::int32_t line = -1;
  // A value block of the line held a value that could not be read (rejected by its
  // converter, or in a unit the tables do not know).
  bool valueUnread = false;
  // A block held a value under a type code no table row knows.
  bool typeUnknown = false;

  bool HasKind() const { return kind.which() != 0; }
  // True when the line gave at least one observed or entered value.
  bool HasValues() const {
    return IsSet(x) || IsSet(y) || IsSet(z) || IsSet(horizontalDistance) || IsSet(hz) ||
           IsSet(slopeDistance) || IsSet(vertical) || IsSet(heightDiff);
  }
  bool HasPosition() const { return IsSet(x) && IsSet(y); }
};

// The same record may be the current line's point, the station and (never at the same
// time as the station) a pending observation; it lives while any of them holds it.
using PointRecordPtr = std::shared_ptr<PointRecord>;

}  // namespace m5
