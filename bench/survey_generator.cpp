#include "bench/survey_generator.h"

#include <cstdio>
#include <string>

namespace m5bench {

namespace {

// One 119-character M5 line: format, address, information block, three data blocks and
// the blank error-flag column.
class LineWriter {
 public:
  explicit LineWriter(std::wstring& out, BlockDamage damage = BlockDamage::None)
      : m_out(out), m_damage(damage) {}

  void Point(const std::wstring& name, const std::wstring& code, const std::wstring& blocks) {
    std::wstring id = code;
    id.resize(13, L' ');
    std::wstring padded = name;
    if (padded.size() < 14) {
      padded.insert(0, 14 - padded.size(), L' ');
    }
    Line(L"PI1 " + padded + id, blocks);
  }

  void Text(const std::wstring& text, const std::wstring& blocks) {
    std::wstring padded = text;
    padded.resize(27, L' ');
    Line(L"TI  " + padded, blocks);
  }

  static std::wstring Block(const char* type, double value, int decimals, const char* unit) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%-2s%15.*f %-4s ", type, decimals, value, unit);
    return std::wstring(buffer, buffer + 22);
  }

  static std::wstring Empty() { return std::wstring(22, L' '); }

  std::size_t Count() const { return m_count; }

 private:
  void Line(const std::wstring& info, std::wstring blocks) {
    while (blocks.size() < 3 * 23) {
      blocks += Empty() + L"|";
    }
    if (m_damage == BlockDamage::Some) {
      Damage(blocks);
    }
    char address[16];
    std::snprintf(address, sizeof address, "Adr %05zu", m_count % 100000 + 1);
    m_out += L"For M5|";
    m_out += std::wstring(address, address + 9);
    m_out += L"|" + info + L"|" + blocks + L" \r\n";
    ++m_count;
  }

  // Each block ("Hz       123.4567 gon  |") damaged with a chance of one in five.
  void Damage(std::wstring& blocks) {
    std::wstring out;
    std::size_t start = 0;
    for (std::size_t bar = blocks.find(L'|'); bar != std::wstring::npos;
         start = bar + 1, bar = blocks.find(L'|', start)) {
      std::wstring block = blocks.substr(start, bar - start);
      if (block.find_first_not_of(L' ') != std::wstring::npos && Next() % 5 == 0) {
        DamageBlock(block, Next() % 6);
      }
      out += block + L"|";
    }
    blocks = out;
  }

  static void DamageBlock(std::wstring& block, unsigned kind) {
    const std::size_t value = block.find_first_not_of(L' ', 2);
    const std::size_t valueEnd = block.find(L' ', value);
    switch (kind) {
      case 0:  // a comma for the decimal point
        if (const std::size_t point = block.find(L'.'); point != std::wstring::npos) {
          block[point] = L',';
        }
        break;
      case 1:  // a letter O typed for a digit
        if (const std::size_t digit = block.find_first_of(L"0123456789", value);
            digit != std::wstring::npos) {
          block[digit] = L'O';
        }
        break;
      case 2: {  // the blanks lost
        std::wstring kept;
        for (const wchar_t c : block) {
          if (c != L' ') {
            kept += c;
          }
        }
        block = kept;
        break;
      }
      case 3: {  // blanks turned into tabs
        std::wstring tabbed;
        for (std::size_t i = 0; i < block.size(); ++i) {
          if (block[i] != L' ') {
            tabbed += block[i];
          } else if (i > 0 && block[i - 1] != L' ') {
            tabbed += L'\t';
          }
        }
        block = tabbed;
        break;
      }
      case 4:  // a number beyond any double
        block.replace(value, valueEnd - value, L"1e309");
        break;
      default:  // white space after the unit
        block = block.substr(0, block.find_last_not_of(L' ') + 1) + L"\t ";
        break;
    }
  }

  unsigned Next() {
    m_seed = m_seed * 1103515245u + 12345u;
    return (m_seed >> 8) & 0xFFFF;
  }

  std::wstring& m_out;
  BlockDamage m_damage;
  unsigned m_seed = 20261209;
  std::size_t m_count = 0;
};

std::wstring B(const char* type, double value, int decimals, const char* unit) {
  return LineWriter::Block(type, value, decimals, unit) + L"|";
}

// An angle given in gon as the station writes it: gon, or D.MMSS in whole seconds (minutes
// and seconds below 60) when the station's unit is DMS.
double Angle(double gon, bool dms) {
  if (!dms) {
    return gon;
  }
  const auto seconds = static_cast<long>(gon * 0.9 * 3600);
  return static_cast<double>(seconds / 3600) + static_cast<double>(seconds / 60 % 60) / 100 +
         static_cast<double>(seconds % 60) / 10000;
}

std::string Encode(const std::wstring& text, Encoding encoding) {
  std::string out;
  if (encoding == Encoding::Utf16LittleEndian) {
    out.reserve(2 + text.size() * 2);
    out += "\xFF\xFE";
    for (const wchar_t ch : text) {
      out += static_cast<char>(ch & 0xFF);
      out += static_cast<char>((ch >> 8) & 0xFF);
    }
    return out;
  }
  out.reserve(text.size());
  for (const wchar_t ch : text) {
    // The generator writes ASCII and the Russian alphabet only.
    out += static_cast<char>(ch >= 0x410 && ch <= 0x44F ? ch - 0x410 + 0xC0 : ch);
  }
  return out;
}

}  // namespace

std::string GenerateSurvey(std::size_t lines, Encoding encoding, BlockDamage damage) {
  std::wstring text;
  text.reserve(lines * 121);
  LineWriter writer(text, damage);
  unsigned seed = 12345;
  auto next = [&seed](double scale) {
    seed = seed * 1103515245u + 12345u;
    return scale * static_cast<double>((seed >> 8) & 0xFFFF) / 65536.0;
  };

  for (int station = 1; writer.Count() < lines; ++station) {
    const bool dms = station % 2 == 0;
    const char* angleUnit = dms ? "DMS" : "gon";
    const char* lengthUnit = station % 3 == 0 ? "ft" : "m";
    const std::wstring stationName = L"ST" + std::to_wstring(station);
    const std::wstring backsight = L"BS" + std::to_wstring(station);

    writer.Text(L"STAT. KNWN. PNT.", L"");
    writer.Point(stationName, L"STN",
                 B("X ", 5000 + next(1000), 3, lengthUnit) + B("Y ", 3000 + next(1000), 3, "") +
                     B("Z ", 100 + next(50), 3, ""));
    writer.Point(stationName, L"", B("ih", 1.5 + next(0.2), 3, lengthUnit));
    writer.Text(L"INPUT VALUES",
                B("th", 1.8, 3, lengthUnit) + B("T_", 18.5, 1, "C") + B("P ", 1013, 0, "hPa"));
    writer.Point(backsight, L"BS",
                 B("Hz", Angle(next(400), dms), 4, angleUnit) +
                     B("V1", Angle(90 + next(10), dms), 4, "") +
                     B("SD", 50 + next(200), 3, lengthUnit));
    writer.Text(L"MEASURE", L"");
    for (int point = 1; point <= 40 && writer.Count() < lines; ++point) {
      const std::wstring name = point % 7 == 0 ? L"Репер" + std::to_wstring(point)
                                               : std::to_wstring(station * 1000 + point);
      const std::wstring code = point % 5 == 0 ? L"3" : L"FENCE";
      writer.Point(name, code,
                   B("SD", 5 + next(300), 3, lengthUnit) +
                       B("Hz", Angle(next(400), dms), 4, angleUnit) +
                       B("V1", Angle(85 + next(10), dms), 4, angleUnit));
      if (point % 4 == 0 && writer.Count() < lines) {
        writer.Point(name, code,
                     B("X ", 5000 + next(1000), 3, "m") + B("Y ", 3000 + next(1000), 3, "") +
                         B("Z ", 100 + next(50), 3, ""));
      }
    }
  }
  return Encode(text, encoding);
}

std::string GenerateOneStation(std::size_t lines) {
  std::wstring text;
  text.reserve(lines * 121);
  LineWriter writer(text);
  writer.Text(L"STAT. KNWN. PNT.", L"");
  writer.Point(L"ST1", L"STN", B("X ", 5000, 3, "m") + B("Y ", 3000, 3, "") + B("Z ", 100, 3, ""));
  writer.Point(L"ST1", L"", B("ih", 1.6, 3, "m"));
  writer.Text(L"MEASURE", L"");
  for (std::size_t target = 1; writer.Count() < lines; ++target) {
    const std::wstring name = std::to_wstring(target);
    const double step = static_cast<double>(target % 4000);
    writer.Point(
        name, L"FENCE",
        B("SD", 5 + step / 10, 3, "m") + B("Hz", step / 10, 4, "gon") + B("V1", 99, 4, "gon"));
    writer.Point(
        name, L"FENCE",
        B("X ", 5000 + step / 7, 3, "m") + B("Y ", 3000 + step / 11, 3, "") + B("Z ", 100, 3, ""));
  }
  return Encode(text, Encoding::Win1251);
}

std::string GenerateOrientationChain(std::size_t lines) {
  std::wstring text;
  text.reserve(lines * 121);
  LineWriter writer(text);
  for (std::size_t cycle = 0; writer.Count() < lines; ++cycle) {
    const std::wstring name = std::to_wstring(cycle + 1);
    const double step = static_cast<double>(cycle % 1000);
    writer.Point(L"S", L"STN", B("Om", 0.5 + step / 10000, 4, "gon"));
    writer.Point(
        L"M" + name, L"FENCE",
        B("Hz", step / 4, 4, "gon") + B("SD", 10 + step / 100, 3, "m") + B("V1", 100, 4, "gon"));
    writer.Point(
        L"K" + name, L"FENCE",
        B("X ", 5000 + step, 3, "m") + B("Y ", 3000 + step, 3, "m") + B("Z ", 100, 3, "m"));
    writer.Text(L"MEASURE", L"");
  }
  return Encode(text, Encoding::Win1251);
}

}  // namespace m5bench
