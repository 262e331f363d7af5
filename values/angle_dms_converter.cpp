#include "values/angle_dms_converter.h"

#include <cwchar>
#include <iterator>

namespace {

// What a short value lacks to be D.MMSS: the minutes' and seconds' four digits.
constexpr std::size_t kMinutesAndSeconds = 4;
// The most a rewritten text is longer than the file's: whole degrees gain ".00.00".
constexpr std::size_t kMostAdded = 6;

bool AllDigits(const wchar_t* begin, const wchar_t* end) {
  for (; begin != end; ++begin) {
    if (*begin < L'0' || *begin > L'9') {
      return false;
    }
  }
  return true;
}

}  // namespace

CAngleDMSConverter::CAngleDMSConverter(Plugin::IAngleConverter* inner)
    : m_inner(Plugin::Ref<Plugin::IAngleConverter>::retain(inner)) {}

bool CAngleDMSConverter::Parse(const wchar_t* text, double* value) {
  // The inner converter is the host's, and a long text allocates: nothing either throws
  // may unwind through the parser into the host.
  try {
    if (!m_inner || text == nullptr) {
      return false;
    }
    // A data block's value fits on the stack: the wrapper lives for one block, so a buffer
    // of its own would be allocated for every angle.
    wchar_t local[36];
    const wchar_t* const rewritten = Rewrite(text, local, std::size(local));
    if (rewritten == nullptr) {
      return false;
    }
    return m_inner->Parse(rewritten, value);
  } catch (...) {
    return false;
  }
}

const wchar_t* CAngleDMSConverter::Rewrite(const wchar_t* text, wchar_t* local,
                                           std::size_t localSize) {
  const std::size_t length = std::wcslen(text);
  const std::size_t sign = length > 0 && (text[0] == L'+' || text[0] == L'-') ? 1 : 0;
  const wchar_t* found = std::wmemchr(text, L'.', length);
  // Whole degrees may leave out the point; any other text without one is not an angle of
  // this form.
  const bool wholeDegrees =
      found == nullptr && length > sign && AllDigits(text + sign, text + length);
  if (found == nullptr && !wholeDegrees) {
    return nullptr;
  }
  const auto point = found == nullptr ? length : static_cast<std::size_t>(found - text);
  const wchar_t* const afterPoint = found == nullptr ? text + length : found + 1;
  const auto following = static_cast<std::size_t>(text + length - afterPoint);
  // D, D., D.M, D.MM and D.MMS of digits only are D.MMSS with trailing zeros left out. Any
  // other text keeps the characters it has, rewritten by position alone.
  const bool shortForm = following < kMinutesAndSeconds && point > sign &&
                         AllDigits(text + sign, text + point) &&
                         AllDigits(afterPoint, text + length);

  // Longer texts use the member, which only grows. The rewritten text ends at the NUL
  // written after it.
  wchar_t* out = local;
  if (length + kMostAdded + 1 > localSize) {
    if (m_text.size() < length + kMostAdded + 1) {
      m_text.resize(length + kMostAdded + 1);
    }
    out = m_text.data();
  }
  const wchar_t* const rewritten = out;
  const auto copy = [&out, text](std::size_t from, std::size_t count) {
    out = std::wmemcpy(out, text + from, count) + count;
  };
  if (shortForm) {
    wchar_t digits[kMinutesAndSeconds] = {L'0', L'0', L'0', L'0'};
    std::wmemcpy(digits, afterPoint, following);
    copy(0, point);
    *out++ = L'.';
    out = std::wmemcpy(out, digits, 2) + 2;
    *out++ = L'.';
    out = std::wmemcpy(out, digits + 2, 2) + 2;
  } else if (following > 2) {
    // D.MMSSFF: minutes and seconds are two characters each after the degrees' point.
    copy(0, point + 3);
    *out++ = L'.';
    if (following > 4) {
      copy(point + 3, 2);
      *out++ = L'.';
      copy(point + 5, length - point - 5);
    } else {
      copy(point + 3, length - point - 3);
    }
  } else {
    copy(0, length);
  }
  *out = L'\0';
  return rewritten;
}
