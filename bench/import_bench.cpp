// Time and memory of a whole import, of its reading and decoding alone, and of the floor any
// design pays that holds the file as wide lines. Sizes: 10 k, 100 k and 1 M lines (about
// 1.2, 12 and 120 MB). And the import of a hostile file whose station never closes, at 1, 5
// and 10 MB, and of a file that is one line of 1 or 100 MB.
#include <sys/resource.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "bench/survey_generator.h"
#include "sdk/create_plugin.h"
#include "sdk/host_interfaces.h"
#include "sdk/ref.h"
#include "tests/support/counting_sink.h"
#include "tests/support/file_list.h"
#include "tests/support/settings_store.h"
#include "text/byte_source.h"
#include "text/line_reader.h"

namespace {

// A converter that reads the number the fast way and does no unit arithmetic.
template <class I>
class FastConverter final : public I {
 public:
  void AddRef() override { ++m_refs; }
  bool Release() override {
    if (--m_refs == 0) {
      delete this;
      return true;
    }
    return false;
  }
  bool Parse(const wchar_t* text, double* value) override {
    char narrow[64] = {};
    std::size_t n = 0;
    for (; text[n] != 0; ++n) {
      if (n == sizeof narrow || text[n] > 0x7F) {
        return false;
      }
      narrow[n] = static_cast<char>(text[n]);
    }
    const char* const end = narrow + n;
    const auto result = std::from_chars(narrow, end, *value);
    if (result.ec == std::errc() && result.ptr == end) {
      return true;
    }
    return ParseDms(narrow, end, value);
  }

 private:
  // D.MM.SS[.F...], as the plug-in's DMS wrapper hands it on: in degrees, like the host's.
  static bool ParseDms(const char* at, const char* end, double* value) {
    const bool negative = at != end && *at == '-';
    if (negative) {
      ++at;
    }
    long parts[2] = {};
    for (long& part : parts) {
      const auto result = std::from_chars(at, end, part);
      if (result.ec != std::errc() || result.ptr == end || *result.ptr != '.') {
        return false;
      }
      at = result.ptr + 1;
    }
    double seconds = 0;
    const auto result = std::from_chars(at, end, seconds);
    if (result.ec != std::errc() || result.ptr != end) {
      return false;
    }
    const double degrees =
        static_cast<double>(parts[0]) + static_cast<double>(parts[1]) / 60 + seconds / 3600;
    *value = negative ? -degrees : degrees;
    return true;
  }

  int m_refs = 1;
};

// Hands out one converter per quantity, as a host that keeps its converters would: the
// plug-in asks for a converter at every data block, and the host's allocation is not the
// plug-in's cost.
class FastFactory : public IConverterFactory {
 public:
  void AddRef() override {}
  bool Release() override { return false; }
  Plugin::IAngleConverter* GetAngleConverter(int) override { return Share(m_angle); }
  IValueConverter* GetLengthConverter(int) override { return Share(m_length); }
  IValueConverter* GetPressureConverter(int) override { return Share(m_pressure); }
  IValueConverter* GetTemperatureConverter(int) override { return Share(m_temperature); }

 private:
  template <class C>
  static C* Share(C& converter) {
    converter.AddRef();
    return &converter;
  }

  // The factory's own reference keeps each alive; the plug-in's references come and go.
  FastConverter<Plugin::IAngleConverter> m_angle;
  FastConverter<IValueConverter> m_length;
  FastConverter<IValueConverter> m_pressure;
  FastConverter<IValueConverter> m_temperature;
};

// A host that keeps nothing: what is left is the plug-in's own cost.
class NullSink : public m5test::CountingSink {
 public:
  IConverterFactory* GetConverterFactory() override { return &m_factory; }

 private:
  FastFactory m_factory;
};

// Linux resets the resident high-water mark on "5" in clear_refs; without that the
// generator's own copy of the file would hide the import's peak.
void ResetPeakMemory() {
  if (std::FILE* refs = std::fopen("/proc/self/clear_refs", "w")) {
    std::fputs("5", refs);
    std::fclose(refs);
  }
}

double PeakMemoryMB() {
  double peak = 0.0;
  if (std::FILE* status = std::fopen("/proc/self/status", "r")) {
    char row[256];
    while (std::fgets(row, sizeof row, status) != nullptr) {
      long kb = 0;
      if (std::sscanf(row, "VmHWM: %ld kB", &kb) == 1) {
        peak = static_cast<double>(kb) / 1024.0;
      }
    }
    std::fclose(status);
  }
  if (peak == 0.0) {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    peak = static_cast<double>(usage.ru_maxrss) / 1024.0;
  }
  return peak;
}

struct SurveyFile {
  std::string path;
  std::size_t bytes = 0;
  std::size_t lines = 0;
};

// The generated files of one run, removed when the run ends: a 1 M-line survey is 115 MB.
struct SurveyFiles {
  std::map<std::string, SurveyFile> byShape;
  ~SurveyFiles() {
    for (const auto& entry : byShape) {
      std::remove(entry.second.path.c_str());
    }
  }
};

// The file of this shape, written on first use and kept for the whole run.
template <class Generate>
const SurveyFile& CachedFile(const std::string& shape, Generate generate) {
  static SurveyFiles files;
  auto& file = files.byShape[shape];
  if (file.path.empty()) {
    std::size_t lines = 0;
    const std::string bytes = generate(lines);
    file.path = "/tmp/m5bench-" + std::to_string(getpid()) + "-" + shape + ".dat";
    std::FILE* out = std::fopen(file.path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), out);
    std::fclose(out);
    file.bytes = bytes.size();
    file.lines = lines;
  }
  ResetPeakMemory();
  return file;
}

const SurveyFile& Survey(std::size_t lines, m5bench::Encoding encoding) {
  const std::string shape =
      std::to_string(lines) + (encoding == m5bench::Encoding::Win1251 ? "" : "-utf16");
  return CachedFile(shape, [&](std::size_t& count) {
    count = lines;
    return m5bench::GenerateSurvey(lines, encoding);
  });
}

void ReportCounters(benchmark::State& state, const SurveyFile& file) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.bytes));
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * file.lines));
  // High-water mark since the file was generated (see ResetPeakMemory); run one size per
  // process for a clean figure.
  state.counters["peak_MB"] = PeakMemoryMB();
  state.counters["file_MB"] = static_cast<double>(file.bytes) / (1024.0 * 1024.0);
}

// The whole import through the plug-in's only export, once per iteration.
void ImportEachIteration(benchmark::State& state, const SurveyFile& file, bool ansi) {
  auto plugin = Plugin::Ref<Plugin::IGroundBasedMIP>::adopt(CreatePlugin());
  m5test::SettingsStore store{{L"CodeStr", ansi ? 0 : 1}};
  plugin->LoadSettings(&store);
  const std::wstring path(file.path.begin(), file.path.end());
  for (auto _ : state) {
    NullSink sink;
    m5test::FileList files({path});
    plugin->Import(&files, &sink);
    benchmark::DoNotOptimize(sink.points);
  }
  ReportCounters(state, file);
}

// (a) The whole import of a realistic survey.
void BM_Import(benchmark::State& state) {
  const auto encoding = static_cast<m5bench::Encoding>(state.range(1));
  const SurveyFile& file = Survey(static_cast<std::size_t>(state.range(0)), encoding);
  ImportEachIteration(state, file, encoding == m5bench::Encoding::Win1251);
}

// (d) The whole import of a hostile file of state.range(0) kB: a station that never
// closes and is oriented anew every four lines (GenerateOrientationChain).
void BM_OrientationsWithoutStation(benchmark::State& state) {
  const auto bytes = static_cast<std::size_t>(state.range(0)) * 1000;
  const SurveyFile& file = CachedFile("hostile-" + std::to_string(bytes), [&](std::size_t& lines) {
    // The chain's lines are about 120 bytes long (file_MB gives the exact size), and it
    // comes in whole cycles of four lines.
    lines = (bytes / 120 + 3) / 4 * 4;
    return m5bench::GenerateOrientationChain(lines);
  });
  ImportEachIteration(state, file, true);
}

// (b) What the import does before the parser sees a line: the reading decided under the
// encoding setting and the lines counted, then every line decoded in turn into the reader's
// buffer, the file read in chunks of state.range(2) kB.
void BM_ReadAndDecode(benchmark::State& state) {
  const auto encoding = static_cast<m5bench::Encoding>(state.range(1));
  const SurveyFile& file = Survey(static_cast<std::size_t>(state.range(0)), encoding);
  const auto setting = encoding == m5bench::Encoding::Win1251 ? m5::text::EncodingSetting::Win1251
                                                              : m5::text::EncodingSetting::Unicode;
  const auto chunkBytes = static_cast<std::size_t>(state.range(2)) * 1024;
  const std::wstring path(file.path.begin(), file.path.end());
  for (auto _ : state) {
    const auto source = m5::text::CFileSource::Open(path);
    if (!source) {
      state.SkipWithError("the survey file cannot be read");
      break;
    }
    m5::text::CLineReader lines(*source, setting, chunkBytes);
    std::size_t characters = 0;
    while (const std::wstring* line = lines.Next()) {
      characters += line->size();
    }
    benchmark::DoNotOptimize(characters);
  }
  ReportCounters(state, file);
}

// (e) The whole import of a file that is one line of state.range(0) MB: it imports, or
// stops with 125 when memory runs out, whatever the chunk.
void BM_OneLongLine(benchmark::State& state) {
  const auto megabytes = static_cast<std::size_t>(state.range(0));
  const SurveyFile& file = CachedFile("line-" + std::to_string(megabytes), [&](std::size_t& lines) {
    lines = 1;
    std::string bytes = "For M5|Adr 00001|TI  ";
    bytes.append(megabytes * 1024 * 1024, 'x');
    return bytes + "|\r\n";
  });
  ImportEachIteration(state, file, true);
}

// (c) The floor: one read of the file, split at LF, every byte through a 256-entry table
// into one wide string per line, all lines kept.
void BM_WideLinesFloor(benchmark::State& state) {
  const SurveyFile& file =
      Survey(static_cast<std::size_t>(state.range(0)), m5bench::Encoding::Win1251);
  wchar_t table[256];
  for (int i = 0; i < 256; ++i) {
    table[i] = static_cast<wchar_t>(i < 0xC0 ? i : i - 0xC0 + 0x410);
  }
  for (auto _ : state) {
    std::FILE* in = std::fopen(file.path.c_str(), "rb");
    std::string bytes(file.bytes, '\0');
    const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), in);
    std::fclose(in);
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    while (start < got) {
      std::size_t end = bytes.find('\n', start);
      if (end == std::string::npos) {
        end = got;
      }
      std::wstring& line = lines.emplace_back(end - start, L'\0');
      for (std::size_t i = start; i < end; ++i) {
        line[i - start] = table[static_cast<unsigned char>(bytes[i])];
      }
      start = end + 1;
    }
    benchmark::DoNotOptimize(lines.data());
  }
  ReportCounters(state, file);
}

void Sizes(benchmark::internal::Benchmark* bench) {
  for (long lines : {10'000L, 100'000L, 1'000'000L}) {
    bench->Args({lines, 0});
  }
  bench->Args({100'000L, 1});  // the same survey as UTF-16
  bench->Unit(benchmark::kMillisecond)->UseRealTime();
}

// The reading alone at the plug-in's chunk, and at others to choose it by.
void ChunkSizes(benchmark::internal::Benchmark* bench) {
  constexpr long kChunkKB = static_cast<long>(m5::text::kChunkBytes / 1024);
  for (long lines : {10'000L, 100'000L, 1'000'000L}) {
    bench->Args({lines, 0, kChunkKB});
  }
  bench->Args({100'000L, 1, kChunkKB});
  for (long kb : {4L, 16L, 256L, 1024L}) {
    bench->Args({1'000'000L, 0, kb});
  }
  bench->Unit(benchmark::kMillisecond)->UseRealTime();
}

BENCHMARK(BM_Import)->Apply(Sizes);
BENCHMARK(BM_ReadAndDecode)->Apply(ChunkSizes);
BENCHMARK(BM_OneLongLine)->Arg(1)->Arg(100)->Unit(benchmark::kMillisecond)->UseRealTime();
// 10 kB only keeps the smoke run working; 1, 5 and 10 MB are the figures.
BENCHMARK(BM_OrientationsWithoutStation)
    ->Arg(10)
    ->Arg(1'000)
    ->Arg(5'000)
    ->Arg(10'000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_WideLinesFloor)
    ->Args({10'000L, 0})
    ->Args({100'000L, 0})
    ->Args({1'000'000L, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
