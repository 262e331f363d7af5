// Whether a file's bytes are UTF-8, as the plug-in's own decoder (text/decoders.h) reads
// them: the layout detector proposes the UTF-8 setting only for text that setting reads
// without a malformed character.
#pragma once

#include <string_view>

namespace m5host {

// Whether a sample of a file reads as UTF-8. NUL bytes, which no reading takes for text, do
// not count against it: a NUL or two of padding leave a UTF-8 survey UTF-8. A sample cut
// from a longer file (SampleEnd::Cut) is judged up to its last line end, since the cut may
// fall inside a character.
enum class SampleEnd { Whole, Cut };
bool ReadsAsUtf8(std::string_view bytes, SampleEnd end);

}  // namespace m5host
