// m5import never destroys a survey: an output that is one of the input files, or that both
// outputs name, is refused before anything is written.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace m5host {

// Why the main output (-o) or the plan (--svg) would overwrite an input file or each other,
// or nothing when they lie apart. Judged by the files themselves, so another spelling of
// the name or a link to the file is the same file. A device or pipe (/dev/null) holds
// nothing to lose and never clashes.
std::optional<std::string> OutputClash(const std::optional<std::string>& output,
                                       const std::optional<std::string>& plan,
                                       const std::vector<std::string>& inputs);

}  // namespace m5host
