#include "host/cli/batch_outputs.h"

#include <filesystem>
#include <string_view>
#include <system_error>

#include "host/cli/output_file.h"
#include "host/session/session.h"

namespace m5host {

namespace {

namespace fs = std::filesystem;

struct Extension {
  std::string_view format;
  const char* extension;
};

// Where a format's name is not the extension its files are known by.
constexpr Extension kExtensions[] = {{"text", "txt"}, {"pnezd", "csv"}, {"landxml", "xml"}};

bool Converted(const FileSurvey& file) {
  for (const StationSetup& setup : file.setups) {
    if (setup.station || !setup.observations.empty()) {
      return true;
    }
  }
  return false;
}

}  // namespace

const char* FileExtension(const OutputFormat& format) {
  for (const Extension& row : kExtensions) {
    if (row.format == format.name) {
      return row.extension;
    }
  }
  return format.name;
}

std::string OutputPathFor(const std::string& folder, const std::string& input,
                          const OutputFormat& format, std::set<std::string>& taken) {
  const std::string stem = input == "-" ? "standard-input" : fs::u8path(input).stem().u8string();
  std::string name = stem + "." + FileExtension(format);
  for (int n = 2; !taken.insert(name).second; ++n) {
    name = stem + "-" + std::to_string(n) + "." + FileExtension(format);
  }
  return (fs::u8path(folder) / fs::u8path(name)).u8string();
}

BatchWritten WriteOutputPerFile(const Options& options, const std::vector<FileSurvey>& files) {
  std::error_code error;
  fs::create_directories(fs::u8path(*options.outputDir), error);
  if (error) {
    Complain("cannot make the folder " + *options.outputDir + ": " + error.message());
    return BatchWritten::NotAll;
  }
  BatchWritten written = BatchWritten::All;
  std::set<std::string> taken;
  for (const FileSurvey& file : files) {
    const std::string path = OutputPathFor(*options.outputDir, file.path, *options.format, taken);
    if (!Converted(file)) {
      Complain("nothing was converted from " + file.path + "; " + path + " not written");
      continue;
    }
    std::string failure;
    const std::unique_ptr<OutputFile> output = OutputFile::Open(path, failure);
    if (output) {
      OutputNotes notes;  // the merged output's notes say the same of every file
      options.format->write(output->Stream(), {file}, options.output, notes);
      failure = output->Finish().value_or("");
    }
    if (!failure.empty()) {
      Complain(failure);
      written = BatchWritten::NotAll;
    }
  }
  return written;
}

BatchCounts CountFiles(const std::vector<FileSurvey>& files, int unreadable,
                       const std::set<std::string>& noted) {
  BatchCounts counts;
  counts.unreadable = unreadable;
  for (const FileSurvey& file : files) {
    if (file.Count(Severity::Error) > 0 || !Converted(file)) {
      ++counts.errors;
    } else if (file.Count(Severity::Warning) > 0 || noted.count(file.path) != 0) {
      ++counts.warnings;
    } else {
      ++counts.clean;
    }
  }
  return counts;
}

std::string Summary(const BatchCounts& counts) {
  return std::to_string(counts.Total()) + " file(s): " + std::to_string(counts.clean) +
         " converted without a message, " + std::to_string(counts.warnings) + " with warnings, " +
         std::to_string(counts.errors) + " with errors, " + std::to_string(counts.unreadable) +
         " unreadable";
}

}  // namespace m5host
