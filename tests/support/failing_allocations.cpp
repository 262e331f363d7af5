#include "tests/support/failing_allocations.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace {

// The replaced operator new has nowhere else to keep its switch; constant-initialized, so
// it is ready before the first allocation of the program.
std::atomic<long> g_allocations{0};
std::atomic<long> g_failAt{0};  // the count whose allocation fails; 0 when disarmed
std::atomic<bool> g_failed{false};

enum class OnFailure { Throw, ReturnNull };

// Counts the allocation and tells whether it is the armed one, disarming it.
bool ArmedFailure() {
  const long count = g_allocations.fetch_add(1, std::memory_order_relaxed) + 1;
  long armed = count;
  if (!g_failAt.compare_exchange_strong(armed, 0)) {
    return false;
  }
  g_failed = true;
  return true;
}

void* Fail(OnFailure onFailure) {
  if (onFailure == OnFailure::Throw) {
    throw std::bad_alloc();
  }
  return nullptr;
}

void* Allocate(std::size_t size, OnFailure onFailure) {
  void* block = ArmedFailure() ? nullptr : std::malloc(size == 0 ? 1 : size);
  return block != nullptr ? block : Fail(onFailure);
}

// Over-aligned blocks: a plain block with room to align, the plain block's address kept
// just before the aligned one, where FreeAligned finds it.
void* AllocateAligned(std::size_t size, std::align_val_t alignment, OnFailure onFailure) {
  const auto align = static_cast<std::size_t>(alignment);
  if (size > SIZE_MAX - align - sizeof(void*)) {
    return Fail(onFailure);
  }
  void* raw = Allocate(size + align + sizeof(void*), onFailure);
  if (raw == nullptr) {
    return nullptr;
  }
  const auto first = reinterpret_cast<std::uintptr_t>(raw) + sizeof(void*);
  const std::uintptr_t aligned = (first + align - 1) & ~(std::uintptr_t{align} - 1);
  reinterpret_cast<void**>(aligned)[-1] = raw;
  return reinterpret_cast<void*>(aligned);
}

void FreeAligned(void* block) {
  if (block != nullptr) {
    std::free(static_cast<void**>(block)[-1]);
  }
}

}  // namespace

namespace m5test {

AllocationCounter::AllocationCounter() : m_start(g_allocations.load()) {}

long AllocationCounter::Count() const {
  return g_allocations.load() - m_start;
}

FailingAllocation::FailingAllocation(long nth) {
  g_failed = false;
  g_failAt = g_allocations.load() + nth;
}

FailingAllocation::~FailingAllocation() {
  g_failAt = 0;
}

bool FailingAllocation::Failed() const {
  return g_failed.load();
}

}  // namespace m5test

void* operator new(std::size_t size) {
  return Allocate(size, OnFailure::Throw);
}
void* operator new[](std::size_t size) {
  return Allocate(size, OnFailure::Throw);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return Allocate(size, OnFailure::ReturnNull);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return Allocate(size, OnFailure::ReturnNull);
}
void* operator new(std::size_t size, std::align_val_t alignment) {
  return AllocateAligned(size, alignment, OnFailure::Throw);
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
  return AllocateAligned(size, alignment, OnFailure::Throw);
}
void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  return AllocateAligned(size, alignment, OnFailure::ReturnNull);
}
void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  return AllocateAligned(size, alignment, OnFailure::ReturnNull);
}

void operator delete(void* block) noexcept {
  std::free(block);
}
void operator delete[](void* block) noexcept {
  std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
  std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept {
  std::free(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
  std::free(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
  std::free(block);
}
void operator delete(void* block, std::align_val_t) noexcept {
  FreeAligned(block);
}
void operator delete[](void* block, std::align_val_t) noexcept {
  FreeAligned(block);
}
void operator delete(void* block, std::size_t, std::align_val_t) noexcept {
  FreeAligned(block);
}
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept {
  FreeAligned(block);
}
void operator delete(void* block, std::align_val_t, const std::nothrow_t&) noexcept {
  FreeAligned(block);
}
void operator delete[](void* block, std::align_val_t, const std::nothrow_t&) noexcept {
  FreeAligned(block);
}
