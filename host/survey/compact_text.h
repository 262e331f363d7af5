// Point names and codes as the host keeps them: sixteen bytes each, the text inside when it
// fits in fifteen (as almost every name and code does), else one exact block on the heap.
// A survey holds two per record, so half the size of std::string matters at a million.
#pragma once

#include <cstddef>
#include <cstring>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace m5host {

class CompactText {
 public:
  CompactText() { SetTag(0); }
  explicit CompactText(std::string_view text) { Assign(text); }
  CompactText(const CompactText& other) {
    Assign(other.view());
    if (other.IsUnset()) {
      SetTag(kUnset);
    }
  }
  CompactText(CompactText&& other) noexcept { Steal(other); }
  CompactText& operator=(const CompactText& other) {
    if (this != &other) {
      CompactText copy(other);
      Release();
      Steal(copy);
    }
    return *this;
  }
  CompactText& operator=(CompactText&& other) noexcept {
    if (this != &other) {
      Release();
      Steal(other);
    }
    return *this;
  }
  CompactText& operator=(std::string_view text) { return *this = CompactText(text); }
  CompactText& operator=(const std::string& text) { return *this = std::string_view(text); }
  CompactText& operator=(const char* text) { return *this = std::string_view(text); }
  ~CompactText() { Release(); }

  std::string_view view() const {
    if (Tag() != kHeap) {
      const std::size_t size = Tag() == kUnset ? 0 : Tag();
      return {reinterpret_cast<const char*>(m_bytes), size};
    }
    const char* block = HeapBlock();
    std::size_t size;
    std::memcpy(&size, block, sizeof size);
    return {block + sizeof size, size};
  }
  std::string str() const { return std::string(view()); }
  operator std::string_view() const { return view(); }
  // For callers that take std::string; each conversion is a copy.
  operator std::string() const { return str(); }
  bool empty() const { return view().empty(); }
  std::size_t size() const { return view().size(); }

  friend bool operator==(const CompactText& a, const CompactText& b) {
    return a.view() == b.view();
  }
  friend bool operator==(const CompactText& a, std::string_view b) { return a.view() == b; }
  friend bool operator==(std::string_view a, const CompactText& b) { return a == b.view(); }
  friend bool operator!=(const CompactText& a, const CompactText& b) { return !(a == b); }
  friend bool operator!=(const CompactText& a, std::string_view b) { return !(a == b); }
  friend std::ostream& operator<<(std::ostream& out, const CompactText& text) {
    return out << text.view();
  }

 private:
  friend class MaybeText;

  static constexpr std::size_t kInline = 15;
  static constexpr unsigned char kHeap = 0x80;
  static constexpr unsigned char kUnset = 0xFF;  // only a MaybeText is ever unset

  unsigned char Tag() const { return m_bytes[kInline]; }
  void SetTag(unsigned char tag) { m_bytes[kInline] = tag; }
  bool IsUnset() const { return Tag() == kUnset; }
  void MakeUnset() {
    Release();
    SetTag(kUnset);
  }

  const char* HeapBlock() const {
    const char* block;
    std::memcpy(&block, m_bytes, sizeof block);
    return block;
  }

  // The heap block holds the size, then the characters.
  void Assign(std::string_view text) {
    if (text.size() <= kInline) {
      std::memcpy(m_bytes, text.data(), text.size());
      SetTag(static_cast<unsigned char>(text.size()));
      return;
    }
    const std::size_t size = text.size();
    char* block = new char[sizeof size + size];
    std::memcpy(block, &size, sizeof size);
    std::memcpy(block + sizeof size, text.data(), size);
    std::memcpy(m_bytes, &block, sizeof block);
    SetTag(kHeap);
  }
  void Release() {
    if (Tag() == kHeap) {
      delete[] HeapBlock();
    }
    SetTag(0);
  }
  void Steal(CompactText& other) {
    std::memcpy(m_bytes, other.m_bytes, sizeof m_bytes);
    other.SetTag(0);
  }

  alignas(char*) unsigned char m_bytes[kInline + 1];
};

static_assert(sizeof(CompactText) == 16);

// A text the plug-in may not have sent (a code), in the size of CompactText; read it as
// std::optional<std::string> is read.
class MaybeText {
 public:
  MaybeText() { m_text.MakeUnset(); }
  MaybeText(std::nullopt_t) : MaybeText() {}
  MaybeText(const std::optional<std::string>& text) : MaybeText() { *this = text; }
  MaybeText& operator=(std::nullopt_t) {
    m_text.MakeUnset();
    return *this;
  }
  MaybeText& operator=(std::string_view text) {
    m_text = text;
    return *this;
  }
  MaybeText& operator=(const std::string& text) { return *this = std::string_view(text); }
  MaybeText& operator=(const char* text) { return *this = std::string_view(text); }
  MaybeText& operator=(const std::optional<std::string>& text) {
    if (text) {
      return *this = *text;
    }
    return *this = std::nullopt;
  }

  bool has_value() const { return !m_text.IsUnset(); }
  explicit operator bool() const { return has_value(); }
  const CompactText& operator*() const { return m_text; }
  const CompactText* operator->() const { return &m_text; }
  std::string value_or(std::string_view fallback) const {
    return std::string(has_value() ? m_text.view() : fallback);
  }
  // Set and not empty: a code worth writing.
  bool HasText() const { return has_value() && !m_text.empty(); }

  friend bool operator==(const MaybeText& a, std::string_view b) {
    return a.has_value() && a.m_text.view() == b;
  }
  friend bool operator==(const MaybeText& a, std::nullopt_t) { return !a.has_value(); }
  friend std::ostream& operator<<(std::ostream& out, const MaybeText& text) {
    return text ? out << *text : out << "(unset)";
  }

 private:
  CompactText m_text;
};

static_assert(sizeof(MaybeText) == 16);

}  // namespace m5host
