// White space as the user's locale classifies it, answered from a table for the first 128
// characters: the facet is asked once per character code per file instead of once per
// character read.
#pragma once

#include <array>
#include <locale>

namespace m5 {

class CWhiteSpace {
 public:
  // Borrows the facet, which must outlive this object.
  explicit CWhiteSpace(const std::ctype<wchar_t>& ctype) : m_ctype(ctype) {
    for (std::size_t c = 0; c < m_ascii.size(); ++c) {
      m_ascii[c] = ctype.is(std::ctype_base::space, static_cast<wchar_t>(c));
    }
  }

  bool operator()(wchar_t c) const {
    const auto code = static_cast<std::size_t>(c);
    return code < m_ascii.size() ? m_ascii[code] : m_ctype.is(std::ctype_base::space, c);
  }

 private:
  const std::ctype<wchar_t>& m_ctype;
  std::array<bool, 128> m_ascii{};
};

}  // namespace m5
