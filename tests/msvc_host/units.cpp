#include "units.h"

#include "system.h"

namespace msvchost {

namespace {

bool IsDigit(wchar_t c) {
  return c >= L'0' && c <= L'9';
}

bool IsFinite(double value) {
  return value - value == 0.0;
}

// A piece of a text: [begin, end).
struct Span {
  const wchar_t* begin;
  const wchar_t* end;
  SizeT Size() const { return static_cast<SizeT>(end - begin); }
};

bool AllDigits(Span span) {
  if (span.begin == span.end) {
    return false;
  }
  for (const wchar_t* c = span.begin; c != span.end; ++c) {
    if (!IsDigit(*c)) {
      return false;
    }
  }
  return true;
}

// Optional sign, digits with at most one point, optional exponent, nothing else; the
// magnitude rounded to the nearest double.
bool ParseDecimal(Span span, double* value) {
  const wchar_t* c = span.begin;
  bool negative = false;
  if (c != span.end && (*c == L'+' || *c == L'-')) {
    negative = *c == L'-';
    ++c;
  }
  const wchar_t* const start = c;
  bool digits = false;
  bool point = false;
  for (; c != span.end; ++c) {
    if (IsDigit(*c)) {
      digits = true;
    } else if (*c == L'.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (!digits) {
    return false;
  }
  if (c != span.end && (*c == L'e' || *c == L'E')) {
    ++c;
    if (c != span.end && (*c == L'+' || *c == L'-')) {
      ++c;
    }
    if (c == span.end || !IsDigit(*c)) {
      return false;
    }
    while (c != span.end && IsDigit(*c)) {
      ++c;
    }
  }
  if (c != span.end) {
    return false;
  }
  // wcstod needs a terminated text of its own: the span may be part of a longer one.
  const SizeT length = span.Size() - static_cast<SizeT>(start - span.begin);
  auto* copy = static_cast<wchar_t*>(Allocate((length + 1) * sizeof(wchar_t)));
  if (copy == nullptr) {
    return false;
  }
  for (SizeT i = 0; i < length; ++i) {
    copy[i] = start[i];
  }
  wchar_t* end = nullptr;
  const double magnitude = wcstod(copy, &end);
  const bool whole = end == copy + length;
  Free(copy);
  if (!whole || !IsFinite(magnitude)) {
    return false;
  }
  *value = negative ? -magnitude : magnitude;
  return true;
}

bool ParseDms(Span text, double* value) {
  double sign = 1.0;
  if (text.begin != text.end && (*text.begin == L'+' || *text.begin == L'-')) {
    sign = *text.begin == L'-' ? -1.0 : 1.0;
    ++text.begin;
  }
  Span parts[4];
  int count = 0;
  for (;;) {
    if (count == 4) {
      return false;
    }
    const wchar_t* dot = text.begin;
    while (dot != text.end && *dot != L'.') {
      ++dot;
    }
    parts[count++] = {text.begin, dot};
    if (dot == text.end) {
      break;
    }
    text.begin = dot + 1;
  }
  for (int k = 0; k < count; ++k) {
    const bool twoDigitField = k == 1 || k == 2;
    if (!AllDigits(parts[k]) || (twoDigitField && parts[k].Size() > 2)) {
      return false;
    }
  }
  double degrees = 0.0;
  double minutes = 0.0;
  double seconds = 0.0;
  if (!ParseDecimal(parts[0], &degrees)) {
    return false;
  }
  if (count > 1) {
    ParseDecimal(parts[1], &minutes);
  }
  if (count > 2) {
    ParseDecimal(parts[2], &seconds);
  }
  if (count > 3) {
    // The fourth part is the decimal fraction of the seconds: read as "0.F...".
    const SizeT length = parts[3].Size() + 2;
    auto* fraction = static_cast<wchar_t*>(Allocate((length + 1) * sizeof(wchar_t)));
    if (fraction == nullptr) {
      return false;
    }
    fraction[0] = L'0';
    fraction[1] = L'.';
    for (SizeT i = 2; i < length; ++i) {
      fraction[i] = parts[3].begin[i - 2];
    }
    double part = 0.0;
    const bool read = ParseDecimal({fraction, fraction + length}, &part);
    Free(fraction);
    if (!read) {
      return false;
    }
    seconds += part;
  }
  if (minutes >= 60.0 || seconds >= 60.0) {
    return false;
  }
  *value = sign * (degrees + minutes / 60.0 + seconds / 3600.0);
  return true;
}

}  // namespace

bool ToBaseUnit(const Unit& unit, const wchar_t* text, double* value) {
  const wchar_t* end = text;
  while (*end != 0) {
    ++end;
  }
  double read = 0.0;
  if (!(unit.dms ? ParseDms({text, end}, &read) : ParseDecimal({text, end}, &read))) {
    return false;
  }
  const double base = (read + unit.offset) * unit.scale;
  if (!IsFinite(base)) {
    return false;
  }
  *value = base;
  return true;
}

}  // namespace msvchost
