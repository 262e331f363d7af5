// Where an observation lies in its file. The plug-in sends a station's records only when the
// station is complete, without their lines, so a warning about a computed point finds the
// line of its observation here, in the records as the import reads them.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "host/layout/layout_detection.h"
#include "host/layout/point_records.h"

namespace m5host {

// The line of the occurrence-th (from 0) observation of the point named name (UTF-8), the
// names cut as the layout places them; the first observation of that name when the file holds
// fewer; none when it holds no observation of it.
std::optional<int> ObservationLine(const PointRecords& records, const FieldLayout& layout,
                                   std::string_view name, std::size_t occurrence);

}  // namespace m5host
