// Reference counting for objects that cross the plug-in boundary.
//
// A new object starts at count 0; its creator calls AddRef once before handing it out.
// Release destroys the object through its virtual destructor when the count reaches 0 and
// answers true in exactly that case. The destructor is declared here, after the
// interface's operations, so it comes last in the table of virtual operations.
#pragma once

#include <atomic>
#include <cstdint>

#include "sdk/plugin_interfaces.h"

namespace Plugin {
namespace Detail {

// The counter. ThreadSafe 1: interlocked, for objects the host may share between threads
// (the plug-in object). ThreadSafe 0: plain, for objects used by one thread at a time.
template <int ThreadSafe>
class CRefCountedBase;

template <>
class CRefCountedBase<1> {
 protected:
  std::int32_t Increment() { return m_count.fetch_add(1, std::memory_order_relaxed) + 1; }
  std::int32_t Decrement() { return m_count.fetch_sub(1, std::memory_order_acq_rel) - 1; }

 public:
  // For tests and diagnostics only.
  std::int32_t RefCount() const { return m_count.load(std::memory_order_relaxed); }

 private:
  std::atomic<std::int32_t> m_count{0};
};

template <>
class CRefCountedBase<0> {
 protected:
  std::int32_t Increment() { return ++m_count; }
  std::int32_t Decrement() { return --m_count; }

 public:
  std::int32_t RefCount() const { return m_count; }

 private:
  std::int32_t m_count = 0;
};

}  // namespace Detail

template <class I, int ThreadSafe>
class CRefCountedImpl : public I, protected Detail::CRefCountedBase<ThreadSafe> {
 public:
  CRefCountedImpl() = default;
  CRefCountedImpl(const CRefCountedImpl&) = delete;
  CRefCountedImpl& operator=(const CRefCountedImpl&) = delete;

  void AddRef() override { this->Increment(); }

  bool Release() override {
    if (this->Decrement() != 0) {
      return false;
    }
    delete this;
    return true;
  }

  using Detail::CRefCountedBase<ThreadSafe>::RefCount;

 protected:
  // Only Release destroys.
  virtual ~CRefCountedImpl() = default;
};

// Base of a plug-in object: the interlocked counter.
template <class I>
class CPluginImpl : public CRefCountedImpl<I, 1> {};

}  // namespace Plugin
