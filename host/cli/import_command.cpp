#include <filesystem>
#include <fstream>
#include <memory>

#include "host/cli/commands.h"
#include "host/cli/input_files.h"
#include "host/cli/layout_report.h"
#include "host/cli/output_file.h"
#include "host/cli/progress_bar.h"
#include "host/outputs/output_formats.h"
#include "host/outputs/value_format.h"
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

}  // namespace

int RunImport(Session& session, const Options& options) {
  std::string error;
  const std::unique_ptr<MainOutput> output = MainOutput::Open(options.outputPath, error);
  if (!output) {
    Complain(error);
    return kExitReported;
  }
  const InputFiles inputs(options.files);

  HostConverterFactory factory;
  CollectingSink collector(factory);
  std::unique_ptr<ProgressBar> progress;
  if (options.progress && options.format != OutputFormat::Trace && os::IsTerminal(stderr)) {
    progress = std::make_unique<ProgressBar>(stderr);
    collector.OnProgress(
        [&progress](const std::string& file, float percent) { progress->Update(file, percent); });
  }
  TraceSink trace(
      [&output](std::string line) {
        output->Stream() << line << '\n';
        output->NoteFailure();
      },
      &collector);
  IMeasurementSink* sink = &collector;
  if (options.format == OutputFormat::Trace) {
    factory.OnCall([&trace](const std::string& line) { trace.FactoryLine(line); });
    sink = &trace;
  }

  ShownPaths shown(*sink, inputs.StandardInputPath(), L"-");
  FileList files(inputs.PluginPaths());
  bool failed = false;
  try {
    session.plugin->Import(&files, &shown);
  } catch (const std::exception& e) {
    // What the plug-in collected before it failed is still shown.
    Complain(std::string("the import stopped: ") + e.what());
    failed = true;
  } catch (...) {
    Complain("the import stopped with an unknown exception");
    failed = true;
  }
  if (progress) {
    progress->Clear();
  }

  OutputNotes notes;
  WriteOutput(output->Stream(), options.format, collector.Files(), options.output, notes);
  if (const std::optional<std::string> failure = output->Finish()) {
    Complain(*failure);
    failed = true;
  }
  for (const std::string& note : notes.All()) {
    Complain("warning: " + note);
  }
  if (options.svgPath) {
    std::ofstream svg(std::filesystem::u8path(*options.svgPath), std::ios::binary);
    PlanOptions plan = options.plan;
    plan.unit = {MetresPerUnit(options.output.length), LengthSymbol(options.output.length)};
    WriteSvgPlan(svg, collector.Files(), plan);
    if (!svg.flush()) {
      Complain("cannot write " + *options.svgPath);
      failed = true;
    }
  }

  for (const std::string& note : factory.UnknownUnits()) {
    Complain("warning: " + note);
  }
  if (collector.StrayValues() != 0) {
    Complain("warning: " + std::to_string(collector.StrayValues()) +
             " value(s) arrived before any station or point was named");
  }
  if (const std::string hint = LayoutHint(options.files, HeldLayout(session)); !hint.empty()) {
    Complain("hint: " + hint);
  }
  const ReferenceBalance balance = factory.Balance();
  if (!balance.Balanced()) {
    Complain((options.checkReferences ? "error: " : "warning: ") + Describe(balance));
    failed = failed || options.checkReferences;
  }
  // A survey that could not be read at all outweighs mistakes in those that were.
  if (inputs.Read() == InputsRead::NotAll) {
    return kExitUnreadableInput;
  }
  return failed || collector.ErrorCount() > 0 ? kExitReported : kExitOk;
}

}  // namespace m5host
