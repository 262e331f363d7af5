#include "host/outputs/plan/svg_text.h"

#include "host/os/text_encoding.h"
#include "host/outputs/value_format.h"

namespace m5host {

std::string Number(double value) {
  return Fixed(value, 1);
}

double TextWidth(const std::string& utf8) {
  return static_cast<double>(DisplayWidth(utf8)) * kCharWidth;
}

}  // namespace m5host
