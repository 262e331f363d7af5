#include "host/cli/layout_report.h"

namespace m5host {

namespace {

// The settings keys of the layout, in the plug-in's order.
constexpr const char* kPointStart = "PointStart";
constexpr const char* kPointLen = "PointLen";
constexpr const char* kCodeStart = "CodeStart";
constexpr const char* kCodeLen = "CodeLen";
constexpr const char* kCodeStr = "CodeStr";

const char* ChoiceText(EncodingChoice choice) {
  return choice == EncodingChoice::Utf8 ? "UTF-8" : "Win1251";
}

// Files that only one reading reads vote for it; plain ASCII and files with a byte-order
// mark read alike under both.
EncodingChoice ChooseEncoding(const std::vector<TextKind>& kinds, std::ostream& out) {
  std::size_t unicode = 0;
  std::size_t ansi = 0;
  bool marked = false;
  for (const TextKind kind : kinds) {
    marked = marked || kind == TextKind::Utf8Mark || kind == TextKind::Utf16Mark;
    unicode += kind == TextKind::Utf8 || kind == TextKind::Utf16 ? 1 : 0;
    ansi += kind == TextKind::Windows1251 ? 1 : 0;
  }
  if (unicode != 0 && ansi != 0) {
    out << "The files need different encodings (" << unicode << " Unicode, " << ansi
        << " Windows-1251): import them separately.\n";
  }
  if (unicode > ansi || (unicode == 0 && ansi == 0 && marked)) {
    return EncodingChoice::Utf8;
  }
  return EncodingChoice::Win1251;
}

}  // namespace

std::optional<DetectedSettings> DetectSettings(const std::vector<std::string>& files,
                                               std::ostream& out) {
  std::vector<std::wstring> texts;
  std::vector<TextKind> kinds;
  for (const std::string& file : files) {
    std::string error;
    std::optional<PointRecords> records = ReadPointRecords(file, error);
    if (!records) {
      out << error << "; left out.\n";
      continue;
    }
    if (records->m5Lines == 0) {
      out << file << ": not an M5 file";
      if (records->stopLine != 0) {
        out << " (line " << records->stopLine << " is no M5 line)";
      }
      out << "; left out.\n";
      continue;
    }
    out << file << ": " << records->texts.size() << " point records in " << records->m5Lines
        << " M5 lines, " << Describe(records->kind) << ".\n";
    if (records->stopLine != 0) {
      out << "  Line " << records->stopLine << " is no M5 line: an import stops there.\n";
    }
    kinds.push_back(records->kind);
    texts.insert(texts.end(), records->texts.begin(), records->texts.end());
  }
  const LayoutProposal proposal = ProposeLayout(texts);
  for (const std::string& note : proposal.notes) {
    out << note << '\n';
  }
  if (!proposal.layout) {
    out << "No layout to propose.\n";
    return std::nullopt;
  }
  DetectedSettings settings{*proposal.layout, ChooseEncoding(kinds, out)};
  const FieldLayout& layout = settings.layout;
  out << "\nProposed: name in columns " << layout.nameStart << "-"
      << layout.nameStart + layout.nameLength - 1 << ", code in columns " << layout.codeStart << "-"
      << layout.codeStart + layout.codeLength - 1 << ", encoding " << ChoiceText(settings.encoding)
      << ".\n ";
  for (const auto& [key, value] : AsEdits(settings)) {
    out << ' ' << key << '=' << (key == kCodeStr ? ChoiceText(settings.encoding) : value);
  }
  out << '\n';
  return settings;
}

std::vector<std::pair<std::string, std::string>> AsEdits(const DetectedSettings& settings) {
  const FieldLayout& layout = settings.layout;
  return {{kPointStart, std::to_string(layout.nameStart)},
          {kPointLen, std::to_string(layout.nameLength)},
          {kCodeStart, std::to_string(layout.codeStart)},
          {kCodeLen, std::to_string(layout.codeLength)},
          {kCodeStr, settings.encoding == EncodingChoice::Utf8 ? "1" : "0"}};
}

FieldLayout HeldLayout(const Session& session) {
  return {session.Value(kPointStart), session.Value(kPointLen), session.Value(kCodeStart),
          session.Value(kCodeLen)};
}

std::string LayoutHint(const std::vector<InputFile>& files, const FieldLayout& layout) {
  // The start of a file tells enough, and a long file is not read twice over.
  constexpr std::size_t kRecordsLooked = 1000;
  for (const InputFile& input : files) {
    const std::string& file = input.shownName;
    std::string error;
    const std::optional<PointRecords> records =
        ReadPointRecords(input.readPath, error, kRecordsLooked);
    const LayoutFit fit = records ? JudgeLayout(records->texts, layout) : LayoutFit::Fits;
    if (fit != LayoutFit::Fits) {
      return std::string(fit == LayoutFit::NamesEmpty
                             ? "most point names of "
                             : "the names or codes of most point records of ") +
             file + (fit == LayoutFit::NamesEmpty ? " come out empty" : " are cut inside a word") +
             " with the layout of the settings; m5import settings --detect " + file +
             " proposes one that fits";
    }
  }
  return {};
}

}  // namespace m5host
