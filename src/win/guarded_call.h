// No exception may unwind through the system's message dispatch into the host,
// nor out of a thread: window, subclass and thread procedures run their body
// through this guard, which turns any exception into the given answer.
#pragma once

#include <type_traits>

namespace kontaktel {

template <typename Body, typename Result = std::invoke_result_t<Body&>>
Result GuardedCall(Body&& body, std::type_identity_t<Result> onException) noexcept {
  try {
    return body();
  } catch (...) {
    return onException;
  }
}

}  // namespace kontaktel
