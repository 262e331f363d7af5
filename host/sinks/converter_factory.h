// The host's converter factory: real unit arithmetic (units.h), and a count of every
// reference it hands out so that an import that leaks or over-releases a converter is
// caught instead of crashing. The tests' host is the same factory reading values as the
// file wrote them, so that a test's trace shows the file's own numbers.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "host/sinks/counted_references.h"
#include "host/sinks/units.h"
#include "sdk/host_interfaces.h"

namespace m5host {

class HostConverter;

// What the plug-in still holds, after an import or at any moment.
struct ReferenceBalance {
  int outstanding = 0;       // references not yet released (factory and converters)
  int overReleases = 0;      // releases beyond the last reference
  int usedAfterRelease = 0;  // Parse on a converter whose last reference was gone
  bool Balanced() const { return outstanding == 0 && overReleases == 0 && usedAfterRelease == 0; }
};

// What a converter gives for a value: the number in the host's base unit, or the number
// as written (degrees-minutes-seconds still read, as decimal degrees).
enum class Reading { BaseUnits, AsWritten };

class HostConverterFactory final : public CountedFactory {
 public:
  explicit HostConverterFactory(Reading reading = Reading::BaseUnits);
  ~HostConverterFactory();
  HostConverterFactory(const HostConverterFactory&) = delete;
  HostConverterFactory& operator=(const HostConverterFactory&) = delete;

  // Called with "factory.GetAngleConverter(4)" and the like, for the trace.
  void OnCall(std::function<void(const std::string&)> callback) { m_onCall = std::move(callback); }

  ReferenceBalance Balance() const;
  int ConvertersCreated() const { return m_created; }
  // One line per unit code the host does not know, each said once.
  const std::vector<std::string>& UnknownUnits() const { return m_unknownUnitNotes; }

  Plugin::IAngleConverter* GetAngleConverter(int unit) override;
  IValueConverter* GetLengthConverter(int unit) override;
  IValueConverter* GetPressureConverter(int unit) override;
  IValueConverter* GetTemperatureConverter(int unit) override;

 private:
  friend class HostConverter;
  HostConverter& Make(Quantity quantity, int code, const char* operation);
  HostConverter& Fresh(const Unit* unit);
  void Retired(HostConverter& converter) noexcept;

  Reading m_reading;
  // Converters stay allocated until the factory goes (counted_references.h). A plug-in
  // may ask for one per value, millions in a large file: a converter is handed out again
  // once kQuarantine others were released after it, so a late use of a released one is
  // still caught within that window.
  static constexpr std::size_t kQuarantine = 65536;
  std::deque<HostConverter> m_converters;
  // The last kQuarantine converters released, a ring made with the first converter, so a
  // release (which must not throw) never allocates.
  std::vector<HostConverter*> m_released;
  std::size_t m_oldestReleased = 0;
  std::size_t m_releasedCount = 0;
  HostConverter* m_reusable = nullptr;  // linked through the converters
  int m_created = 0;
  std::set<std::pair<Quantity, int>> m_unknownUnits;
  std::vector<std::string> m_unknownUnitNotes;
  std::function<void(const std::string&)> m_onCall;
};

}  // namespace m5host
