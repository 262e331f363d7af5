#include <algorithm>
#include <iostream>
#include <memory>
#include <set>

#include "host/cli/batch_outputs.h"
#include "host/cli/commands.h"
#include "host/cli/input_files.h"
#include "host/cli/input_names.h"
#include "host/cli/layout_report.h"
#include "host/cli/observation_lines.h"
#include "host/cli/output_clash.h"
#include "host/cli/output_file.h"
#include "host/cli/progress_bar.h"
#include "host/layout/field_file.h"
#include "host/os/host_platform.h"
#include "host/outputs/message_lines.h"
#include "host/outputs/output_registry.h"
#include "host/session/file_list.h"
#include "host/sinks/collecting_sink.h"
#include "host/sinks/shown_paths.h"
#include "host/sinks/trace_sink.h"

namespace m5host {

namespace {

std::string Describe(const ReferenceBalance& balance) {
  std::string text;
  if (balance.outstanding != 0) {
    text += std::to_string(balance.outstanding) + " converter reference(s) never released";
  }
  if (balance.overReleases != 0) {
    text += (text.empty() ? "" : "; ") + std::to_string(balance.overReleases) +
            " release(s) beyond the last reference";
  }
  if (balance.usedAfterRelease != 0) {
    text += (text.empty() ? "" : "; ") + std::to_string(balance.usedAfterRelease) +
            " use(s) of a released converter";
  }
  return text;
}

enum class ImportEnd { Completed, Stopped };
enum class Written { All, NotAll };
enum class Verdict { Clean, Error };

// The file outputs asked for, as the user named them.
std::string KeptOutputs(const Options& options) {
  std::string kept;
  if (options.outputPath) {
    kept = "-o " + *options.outputPath;
  }
  if (options.svgPath) {
    kept += (kept.empty() ? "--svg " : " and --svg ") + *options.svgPath;
  }
  return kept;
}

// Reads the files through the plug-in into the collector; a format written while the import
// runs (the trace) goes to the main output call by call. Whether the import stopped.
ImportEnd ReadSurveys(Session& session, const Options& options, const InputFiles& inputs,
                      HostConverterFactory& factory, CollectingSink& collector,
                      OutputFile& output) {
  std::unique_ptr<ProgressBar> progress;
  if (options.progress && !options.format->WrittenDuringImport() && os::IsTerminal(stderr)) {
    progress = std::make_unique<ProgressBar>(stderr);
    collector.OnProgress(
        [&progress](const std::string& file, float percent) { progress->Update(file, percent); });
  }
  TraceSink trace(
      [&output](std::string line) {
        output.Stream() << line << '\n';
        output.NoteFailure();
      },
      &collector);
  IMeasurementSink* sink = &collector;
  if (options.format->WrittenDuringImport()) {
    factory.OnCall([&trace](const std::string& line) { trace.FactoryLine(line); });
    sink = &trace;
  }

  std::vector<ShownPaths::Renaming> renamings;
  std::vector<const wchar_t*> paths;
  for (const InputFile& file : inputs.Files()) {
    paths.push_back(file.pluginPath.c_str());
    if (file.readPath != file.shownName) {
      renamings.emplace_back(file.pluginPath, os::PluginPath(file.shownName));
    }
  }
  ShownPaths shown(*sink, std::move(renamings));
  FileList files(paths.data(), static_cast<int>(paths.size()));
  ImportEnd end = ImportEnd::Completed;
  try {
    session.plugin->Import(&files, &shown);
  } catch (const std::exception& e) {
    // What the plug-in collected before it failed is still shown.
    Complain(std::string("the import stopped: ") + e.what());
    end = ImportEnd::Stopped;
  } catch (...) {
    Complain("the import stopped with an unknown exception");
    end = ImportEnd::Stopped;
  }
  if (progress) {
    progress->Clear();
  }
  factory.OnCall(nullptr);
  return end;
}

// Whether the import gave no station and no point at all (an empty file, a text file).
bool NothingConverted(const std::vector<FileSurvey>& files) {
  return std::all_of(files.begin(), files.end(), [](const FileSurvey& file) {
    return std::all_of(file.setups.begin(), file.setups.end(), [](const StationSetup& setup) {
      return !setup.station && setup.observations.empty();
    });
  });
}

// Writes the chosen format to the main output and the plan beside it; whether every write
// succeeded. When nothing was converted, a file written before keeps the last survey that
// was: the files of -o and --svg are not replaced, and the plug-in's messages, which would
// have gone there, go to stderr.
Written WriteOutputs(const Options& options, const std::vector<FileSurvey>& files,
                     const InputFiles& inputs, const FieldLayout& layout, OutputFile& output,
                     OutputFile* plan, std::set<std::string>& noted) {
  if (NothingConverted(files) && (options.outputPath || options.svgPath)) {
    Complain("nothing was converted; " + KeptOutputs(options) + " left as it was");
    if (options.format->messages != MessagePlace::StandardError) {
      WriteMessageLines(std::cerr, files);
    }
    if (options.outputPath) {
      return Written::All;  // the temporaries go unused
    }
    plan = nullptr;
  }
  Written written = Written::All;
  OutputNotes notes;
  // With --output-dir every file has its output; the merged one only where -o asks for it.
  const bool merged = !options.outputDir || options.outputPath;
  if (!options.format->WrittenDuringImport() && merged) {
    options.format->write(output.Stream(), files, options.output, notes);
  } else if (!options.format->WrittenDuringImport()) {
    // The outputs per file keep no notes (each would say again what the merged one says):
    // without a merged output its notes, the blunder check's among them, are taken from a
    // writing that goes nowhere.
    std::ostream nowhere(nullptr);
    options.format->write(nowhere, files, options.output, notes);
  }
  if (const std::optional<std::string> failure = output.Finish()) {
    Complain(*failure);
    written = Written::NotAll;
  }
  if (plan != nullptr) {
    PlanFormat().write(plan->Stream(), files, options.output, notes);
    if (const std::optional<std::string> failure = plan->Finish()) {
      Complain(*failure);
      written = Written::NotAll;
    }
  }
  for (const std::string& note : notes.All()) {
    Complain("warning: " + note);
  }
  LocateObservations(notes, files, inputs, layout);
  WriteLocatedNotes(std::cerr, notes);
  for (const OutputNotes::Located& note : notes.AllLocated()) {
    noted.insert(note.file);
  }
  return written;
}

// A file the plug-in refused as a whole (an error on the file) that its records show to be
// another instrument's: what the file is and why it is refused, once per file.
std::vector<std::string> RefusalHints(const InputFiles& inputs,
                                      const std::vector<FileSurvey>& files) {
  std::vector<std::string> hints;
  std::set<std::string> judged;
  for (const FileSurvey& file : files) {
    const bool refused =
        std::any_of(file.messages.begin(), file.messages.end(),
                    [](const Message& m) { return m.severity == Severity::Error && m.line < 0; });
    if (!refused || !judged.insert(file.path).second) {
      continue;
    }
    for (const InputFile& input : inputs.Files()) {
      if (input.shownName != file.path) {
        continue;
      }
      const std::optional<FieldFile> kind = ReadFieldFile(input.readPath);
      // A file that tells nothing of its instrument (empty, not M5) has its message alone.
      if (kind && (kind->kind == FieldFileKind::DigitalLevel ||
                   kind->kind == FieldFileKind::OtherTotalStation)) {
        hints.push_back(file.path + " " + DescribeRefusal(*kind));
      }
      break;
    }
  }
  return hints;
}

// What the import leaves to say: units the converters did not know, values sent before any
// point, a layout that does not fit the files, unbalanced references. Whether it counts as
// an error.
Verdict Report(const Session& session, const Options& options, const InputFiles& inputs,
               const HostConverterFactory& factory, const CollectingSink& collector) {
  for (const std::string& note : factory.UnknownUnits()) {
    Complain("warning: " + note);
  }
  if (collector.StrayValues() != 0) {
    Complain("warning: " + std::to_string(collector.StrayValues()) +
             " value(s) arrived before any station or point was named");
  }
  if (const std::string hint = LayoutHint(inputs.Files(), HeldLayout(session)); !hint.empty()) {
    Complain("hint: " + hint);
  }
  for (const std::string& hint : RefusalHints(inputs, collector.Files())) {
    Complain("hint: " + hint);
  }
  const ReferenceBalance balance = factory.Balance();
  if (!balance.Balanced()) {
    Complain((options.checkReferences ? "error: " : "warning: ") + Describe(balance));
    return options.checkReferences ? Verdict::Error : Verdict::Clean;
  }
  return Verdict::Clean;
}

}  // namespace

namespace {

// Why an output per file in --output-dir would overwrite an input, or nothing.
std::optional<std::string> PerFileClash(const Options& options, const InputFiles& inputs,
                                        const std::vector<std::string>& names) {
  std::set<std::string> taken;
  for (const InputFile& input : inputs.Files()) {
    const std::string path =
        OutputPathFor(*options.outputDir, input.shownName, *options.format, taken);
    if (std::optional<std::string> clash = OutputClash(path, std::nullopt, names)) {
      return "--output-dir " + clash->substr(clash->find(' ') + 1);
    }
  }
  return std::nullopt;
}

}  // namespace

int RunImport(Session& session, const Options& options) {
  const InputNames names = ExpandInputNames(
      options.files, os::ShellExpandsWildcards() ? Wildcards::LeftToTheShell : Wildcards::Expanded);
  if (const std::optional<std::string> clash =
          OutputClash(options.outputPath, options.svgPath, names.files)) {
    Complain(*clash);
    return kExitUsage;
  }
  for (const std::string& folder : names.empty) {
    Complain("cannot read " + folder + ": a folder without survey files (*.dat, *.m5)");
  }
  const InputFiles inputs(names.files);
  const int unreadable = inputs.Unreadable() + static_cast<int>(names.empty.size());
  if (options.outputDir) {
    if (const std::optional<std::string> clash = PerFileClash(options, inputs, names.files)) {
      Complain(*clash);
      return kExitUsage;
    }
  }
  if (inputs.Files().empty() && (options.outputPath || options.svgPath)) {
    // Nothing to convert: a file written before keeps the last survey that was.
    Complain("nothing was converted; " + KeptOutputs(options) + " left as it was");
    return kExitUnreadableInput;
  }
  std::string error;
  const std::unique_ptr<OutputFile> output = OutputFile::Open(options.outputPath, error);
  std::unique_ptr<OutputFile> plan;
  if (output && options.svgPath) {
    plan = OutputFile::Open(options.svgPath, error);
  }
  if (!output || (options.svgPath && !plan)) {
    Complain(error);
    return kExitReported;
  }

  HostConverterFactory factory;
  CollectingSink collector(factory);
  const ImportEnd end = ReadSurveys(session, options, inputs, factory, collector, *output);
  std::set<std::string> noted;  // the files the host warned about
  Written written = WriteOutputs(options, collector.Files(), inputs, HeldLayout(session), *output,
                                 plan.get(), noted);
  if (options.outputDir && WriteOutputPerFile(options, collector.Files()) == BatchWritten::NotAll) {
    written = Written::NotAll;
  }
  if (options.format->messages == MessagePlace::StandardError) {
    WriteMessageLines(std::cerr, collector.Files());
  }
  const Verdict verdict = Report(session, options, inputs, factory, collector);
  const bool batch = options.outputDir || names.hasFolder;
  const BatchCounts counts = CountFiles(collector.Files(), unreadable, noted);
  if (batch) {
    Complain(Summary(counts));
  }

  // A survey that could not be read at all outweighs mistakes in those that were.
  if (unreadable != 0) {
    return kExitUnreadableInput;
  }
  const bool failed = end == ImportEnd::Stopped || written == Written::NotAll ||
                      verdict == Verdict::Error || collector.ErrorCount() > 0;
  if (failed) {
    return kExitReported;
  }
  return batch && counts.warnings != 0 ? kExitWarnings : kExitOk;
}

}  // namespace m5host
