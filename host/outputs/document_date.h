// The date an output is made, for the documents that carry one.
#pragma once

#include <string>

namespace m5host {

// Today in UTC as "2026-12-09", or the day of SOURCE_DATE_EPOCH (seconds since 1970) when
// that is set, so that reproducible builds and golden files get the same document.
std::string DocumentDate();

}  // namespace m5host
