#include "host/outputs/document_date.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace m5host {

DocumentMoment DocumentNow() {
  long long seconds = std::chrono::duration_cast<std::chrono::seconds>(
                          std::chrono::system_clock::now().time_since_epoch())
                          .count();
  if (const char* fixed = std::getenv("SOURCE_DATE_EPOCH"); fixed != nullptr && *fixed != '\0') {
    char* end = nullptr;
    const long long value = std::strtoll(fixed, &end, 10);
    if (*end == '\0' && value >= 0 && value < 253402300800LL) {
      seconds = value;
    }
  }
  // Days to a civil date (proleptic Gregorian).
  const long long days = seconds / 86400 + 719468;
  const long long era = days / 146097;
  const long long dayOfEra = days - era * 146097;
  const long long yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const long long mp = (5 * dayOfYear + 2) / 153;
  const long long day = dayOfYear - (153 * mp + 2) / 5 + 1;
  const long long month = mp < 10 ? mp + 3 : mp - 9;
  const long long year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
  const long long time = seconds % 86400;
  char date[80];
  std::snprintf(date, sizeof date, "%04lld-%02lld-%02lld", year, month, day);
  char clock[80];
  std::snprintf(clock, sizeof clock, "%02lld:%02lld:%02lld", time / 3600, time / 60 % 60,
                time % 60);
  return {date, clock};
}

std::string DocumentDate() {
  return DocumentNow().date;
}

}  // namespace m5host
