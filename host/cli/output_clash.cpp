#include "host/cli/output_clash.h"

#include <filesystem>
#include <system_error>

namespace m5host {

namespace {

namespace fs = std::filesystem;

// A regular file, or one not made yet: what an output would replace.
bool Replaceable(const fs::path& path) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  return !fs::exists(status) || fs::is_regular_file(status);
}

// Whether the two names lead to one file: the same file when both exist (hard and symbolic
// links included), else the same place once the folders' links and dots are resolved.
bool SameFile(const std::string& first, const std::string& second) {
  const fs::path a = fs::u8path(first);
  const fs::path b = fs::u8path(second);
  std::error_code error;
  if (fs::exists(a, error) && fs::exists(b, error)) {
    const bool same = fs::equivalent(a, b, error);
    return same && !error;
  }
  const fs::path whereA = fs::weakly_canonical(a, error);
  if (error) {
    return false;
  }
  const fs::path whereB = fs::weakly_canonical(b, error);
  return !error && whereA == whereB;
}

// The first input that target would overwrite, as the user named it.
std::optional<std::string> OverwrittenInput(const std::string& target,
                                            const std::vector<std::string>& inputs) {
  for (const std::string& input : inputs) {
    if (input != "-" && SameFile(target, input)) {
      return input;
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> OutputClash(const std::optional<std::string>& output,
                                       const std::optional<std::string>& plan,
                                       const std::vector<std::string>& inputs) {
  const struct {
    const std::optional<std::string>& path;
    const char* option;
  } targets[] = {{output, "-o"}, {plan, "--svg"}};
  for (const auto& target : targets) {
    if (!target.path || !Replaceable(fs::u8path(*target.path))) {
      continue;
    }
    if (const std::optional<std::string> input = OverwrittenInput(*target.path, inputs)) {
      return std::string(target.option) + " " + *target.path + " is the survey file " + *input +
             ", which it would overwrite; choose another output";
    }
  }
  if (output && plan && Replaceable(fs::u8path(*output)) && SameFile(*output, *plan)) {
    return "-o " + *output + " and --svg " + *plan +
           " are one file: the plan would replace the output; choose another for one of them";
  }
  return std::nullopt;
}

}  // namespace m5host
