// The date an output is made, for the documents that carry one.
#pragma once

#include <string>

namespace m5host {

// When an output is made, in UTC: now, or SOURCE_DATE_EPOCH (seconds since 1970) when that
// is set, so that reproducible builds and golden files get the same document.
struct DocumentMoment {
  std::string date;  // "2026-12-09"
  std::string time;  // "22:15:32"
};
DocumentMoment DocumentNow();

// The day of DocumentNow().
std::string DocumentDate();

}  // namespace m5host
