#include "host/sinks/units.h"

#include <charconv>
#include <cmath>
#include <string>

namespace m5host {

namespace {

bool IsDigit(wchar_t c) {
  return c >= L'0' && c <= L'9';
}

// The ASCII text, or nothing when a character lies outside ASCII.
std::optional<std::string> Narrow(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (const wchar_t c : text) {
    if (c <= 0 || c > 0x7F) {
      return std::nullopt;
    }
    out += static_cast<char>(c);
  }
  return out;
}

// Digits only, at least one.
bool AllDigits(std::wstring_view text) {
  if (text.empty()) {
    return false;
  }
  for (const wchar_t c : text) {
    if (!IsDigit(c)) {
      return false;
    }
  }
  return true;
}

}  // namespace

const char* QuantityName(Quantity quantity) {
  switch (quantity) {
    case Quantity::Angle:
      return "angle";
    case Quantity::Length:
      return "length";
    case Quantity::Pressure:
      return "pressure";
    case Quantity::Temperature:
      return "temperature";
  }
  return "?";
}

std::optional<double> ParseDecimal(std::wstring_view text) {
  const std::optional<std::string> ascii = Narrow(text);
  if (!ascii) {
    return std::nullopt;
  }
  const std::string& s = *ascii;
  std::size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    negative = s[i] == '-';
    ++i;
  }
  const std::size_t start = i;
  bool digits = false;
  bool point = false;
  for (; i < s.size(); ++i) {
    if (s[i] >= '0' && s[i] <= '9') {
      digits = true;
    } else if (s[i] == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (!digits) {
    return std::nullopt;
  }
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
      ++i;
    }
    if (i == s.size() || s[i] < '0' || s[i] > '9') {
      return std::nullopt;
    }
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
      ++i;
    }
  }
  if (i != s.size()) {
    return std::nullopt;
  }
  // from_chars reads the C locale's form whatever the process locale says.
  double value = 0.0;
  const auto result = std::from_chars(s.data() + start, s.data() + s.size(), value);
  if (result.ec != std::errc() || result.ptr != s.data() + s.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return negative ? -value : value;
}

std::optional<double> ParseDms(std::wstring_view text, DmsFields fields) {
  const bool sexagesimal = fields == DmsFields::Sexagesimal;
  double sign = 1.0;
  if (!text.empty() && (text[0] == L'+' || text[0] == L'-')) {
    sign = text[0] == L'-' ? -1.0 : 1.0;
    text.remove_prefix(1);
  }
  std::wstring_view parts[4];
  std::size_t count = 0;
  for (;;) {
    if (count == 4) {
      return std::nullopt;
    }
    const std::size_t dot = text.find(L'.');
    parts[count++] = text.substr(0, dot);
    if (dot == std::wstring_view::npos) {
      break;
    }
    text.remove_prefix(dot + 1);
  }
  for (std::size_t k = 0; k < count; ++k) {
    const bool twoDigitField = sexagesimal && (k == 1 || k == 2);
    if (!AllDigits(parts[k]) || (twoDigitField && parts[k].size() > 2)) {
      return std::nullopt;
    }
  }
  const auto degrees = ParseDecimal(parts[0]);
  const double minutes = count > 1 ? *ParseDecimal(parts[1]) : 0.0;
  double seconds = count > 2 ? *ParseDecimal(parts[2]) : 0.0;
  if (count > 3) {
    seconds += *ParseDecimal(L"0." + std::wstring(parts[3]));
  }
  if (!degrees || (sexagesimal && (minutes >= 60.0 || seconds >= 60.0))) {
    return std::nullopt;
  }
  return sign * (*degrees + minutes / 60.0 + seconds / 3600.0);
}

std::optional<double> ReadAsWritten(const Unit& unit, std::wstring_view text) {
  return unit.dms ? ParseDms(text, DmsFields::AnyDigits) : ParseDecimal(text);
}

std::optional<double> ToBaseUnit(const Unit& unit, std::wstring_view text) {
  const std::optional<double> value = unit.dms ? ParseDms(text) : ParseDecimal(text);
  if (!value) {
    return std::nullopt;
  }
  const double base = (*value + unit.offset) * unit.scale;
  if (!std::isfinite(base)) {
    return std::nullopt;
  }
  return base;
}

}  // namespace m5host
