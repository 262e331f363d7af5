// A value the plug-in may or may not have sent, in the eight bytes of the value itself: a
// survey holds a dozen of them per record and most stay unset, so the flag of
// std::optional<double> would double the store. "Unset" is a quiet NaN with a payload of
// our own; a NaN the plug-in sends stays a NaN (its payload is not kept: no output shows it).
#pragma once

#include <cstdint>
#include <cstring>
#include <optional>
#include <stdexcept>

namespace m5host {

class MaybeDouble {
 public:
  MaybeDouble() = default;
  MaybeDouble(std::nullopt_t) {}
  MaybeDouble(double value) : m_bits(BitsOf(value)) {
    if (m_bits == kUnset) {
      m_bits = kPlainNan;
    }
  }
  MaybeDouble(const std::optional<double>& value) : MaybeDouble() {
    if (value) {
      *this = MaybeDouble(*value);
    }
  }

  bool has_value() const { return m_bits != kUnset; }
  explicit operator bool() const { return has_value(); }
  double operator*() const { return ValueOf(m_bits); }
  double value() const {
    if (!has_value()) {
      throw std::bad_optional_access();
    }
    return **this;
  }
  double value_or(double fallback) const { return has_value() ? **this : fallback; }
  operator std::optional<double>() const {
    return has_value() ? std::optional<double>(**this) : std::nullopt;
  }

  // As std::optional compares: unset equals only unset, a value compares as a double.
  friend bool operator==(const MaybeDouble& a, double b) { return a.has_value() && *a == b; }
  friend bool operator!=(const MaybeDouble& a, double b) { return !(a == b); }
  friend bool operator==(const MaybeDouble& a, std::nullopt_t) { return !a.has_value(); }
  friend bool operator!=(const MaybeDouble& a, std::nullopt_t) { return a.has_value(); }

 private:
  static constexpr std::uint64_t kUnset = 0x7FF8'0000'0000'5E75ULL;
  static constexpr std::uint64_t kPlainNan = 0x7FF8'0000'0000'0000ULL;

  static std::uint64_t BitsOf(double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
  }
  static double ValueOf(std::uint64_t bits) {
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }

  std::uint64_t m_bits = kUnset;
};

static_assert(sizeof(MaybeDouble) == sizeof(double));

}  // namespace m5host
