// Text as the XML outputs (KML, the plan) write it.
#pragma once

#include <string>

namespace m5host {

// Text for XML: entities escaped, control characters as spaces, and bytes that are not
// UTF-8 (a path may hold any) replaced, so the file always parses.
std::string Xml(const std::string& utf8);

}  // namespace m5host
