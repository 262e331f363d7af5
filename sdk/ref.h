// Ref<I>: owns one reference on a reference-counted interface and releases it when it
// goes. The two ways in are named so a reader sees which one is meant:
//   Ref<I>::adopt(p)   takes over a reference the caller already owns (a factory result);
//   Ref<I>::retain(p)  adds a reference of its own (a borrowed pointer to keep).
// Wrapping a fresh factory result with retain would leak it; adopt it.
#pragma once

#include <cassert>
#include <utility>

namespace Plugin {

template <class I>
class Ref {
 public:
  Ref() = default;
  Ref(std::nullptr_t) {}

  static Ref adopt(I* p) noexcept {
    Ref ref;
    ref.m_p = p;
    return ref;
  }

  static Ref retain(I* p) {
    if (p != nullptr) {
      p->AddRef();
    }
    return adopt(p);
  }

  Ref(const Ref& other) : m_p(other.m_p) {
    if (m_p != nullptr) {
      m_p->AddRef();
    }
  }
  Ref(Ref&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}

  Ref& operator=(const Ref& other) {
    Ref(other).swap(*this);
    return *this;
  }
  Ref& operator=(Ref&& other) noexcept {
    Ref(std::move(other)).swap(*this);
    return *this;
  }

  ~Ref() { reset(); }

  // Releases the reference now (the object may be destroyed).
  void reset() {
    if (I* p = std::exchange(m_p, nullptr)) {
      p->Release();
    }
  }

  // Gives up ownership without releasing; the caller now owns the reference.
  [[nodiscard]] I* detach() noexcept { return std::exchange(m_p, nullptr); }

  // For out-parameters that deliver an owned reference; the holder must be empty.
  I** put() noexcept {
    assert(m_p == nullptr);
    return &m_p;
  }

  I* get() const noexcept { return m_p; }
  I* operator->() const noexcept { return m_p; }
  explicit operator bool() const noexcept { return m_p != nullptr; }

  void swap(Ref& other) noexcept { std::swap(m_p, other.m_p); }

 private:
  I* m_p = nullptr;
};

}  // namespace Plugin
