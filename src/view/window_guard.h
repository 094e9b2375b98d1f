// No exception may unwind through the system's message dispatch into the
// host: window and subclass procedures run their body through this guard.
#pragma once

#include <windows.h>

namespace kontaktel {

template <typename Body>
LRESULT GuardedCall(Body&& body, LRESULT onException) noexcept {
  try {
    return body();
  } catch (...) {
    return onException;
  }
}

}  // namespace kontaktel
