#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>

#include "host/collecting_sink.h"
#include "host/commands.h"
#include "host/file_list.h"
#include "host/layout_report.h"
#include "host/output_formats.h"
#include "host/progress_bar.h"
#include "host/text_encoding.h"
#include "host/trace_sink.h"

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

void WriteFormat(OutputFormat format, const std::vector<FileSurvey>& files, AngleUnit angles) {
  switch (format) {
    case OutputFormat::Text:
      WriteTextReport(std::cout, files, angles);
      break;
    case OutputFormat::Json:
      WriteJson(std::cout, files);
      break;
    case OutputFormat::Csv:
      WriteCsv(std::cout, files);
      break;
    case OutputFormat::Pnezd:
      WritePnezd(std::cout, files);
      break;
    case OutputFormat::Trace:
      break;  // written while the import ran
  }
}

}  // namespace

int RunImport(Session& session, const Options& options) {
  HostConverterFactory factory;
  CollectingSink collector(factory);
  std::unique_ptr<ProgressBar> progress;
  if (options.progress && options.format != OutputFormat::Trace && os::IsTerminal(stderr)) {
    progress = std::make_unique<ProgressBar>(stderr);
    collector.OnProgress(
        [&progress](const std::string& file, float percent) { progress->Update(file, percent); });
  }
  TraceSink trace([](std::string line) { std::cout << line << '\n'; }, &collector);
  IMeasurementSink* sink = &collector;
  if (options.format == OutputFormat::Trace) {
    factory.OnCall([&trace](const std::string& line) { trace.FactoryLine(line); });
    sink = &trace;
  }

  std::vector<std::wstring> paths;
  for (const std::string& file : options.files) {
    paths.push_back(FromUtf8(file));
  }
  FileList files(std::move(paths));
  bool failed = false;
  try {
    session.plugin->Import(&files, sink);
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
  std::cout.flush();

  WriteFormat(options.format, collector.Files(), options.angles);
  if (options.svgPath) {
    std::ofstream svg(std::filesystem::u8path(*options.svgPath), std::ios::binary);
    WriteSvgPlan(svg, collector.Files());
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
  return failed || collector.ErrorCount() > 0 ? kExitReported : kExitOk;
}

}  // namespace m5host
