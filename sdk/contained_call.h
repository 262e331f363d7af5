// Keeps exceptions on our side of the plug-in boundary. The host may be built by another
// compiler and cannot catch what we throw: an exception that reaches its code ends its
// process. Every operation the host calls runs its work through one of these.
#pragma once

#include <type_traits>
#include <utility>

namespace Plugin {

// The result of operation, or fallback when it throws. The fallback is what the host
// reads as "did not work": a null text, a refused edit.
template <class Result, class Operation>
Result CallContained(Result fallback, Operation&& operation) noexcept {
  static_assert(std::is_nothrow_copy_constructible_v<Result>,
                "handing back the fallback must not throw in turn");
  try {
    return std::forward<Operation>(operation)();
  } catch (...) {
    return fallback;
  }
}

// Runs operation; when it throws, the work it left undone stays undone.
template <class Operation>
void CallContained(Operation&& operation) noexcept {
  try {
    std::forward<Operation>(operation)();
  } catch (...) {
  }
}

}  // namespace Plugin
