// "Did you mean": the known word nearest to a mistyped one, so a usage error names the fix.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace m5host {

// The known word within a few typing slips of typed (letters swapped, missed, doubled or
// wrong, in any letter case), when exactly one is nearest; nothing otherwise.
std::optional<std::string> Nearest(const std::string& typed, const std::vector<std::string>& known);

// "; did you mean X?" for the nearest known word, or empty.
std::string DidYouMean(const std::string& typed, const std::vector<std::string>& known);

}  // namespace m5host
