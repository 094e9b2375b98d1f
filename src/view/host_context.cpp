#include "view/host_context.h"

namespace kontaktel {

HostContext& Host() {
  static HostContext host;
  return host;
}

HINSTANCE ModuleHandle() {
  const HINSTANCE module = Host().module;
  return module != nullptr ? module : GetModuleHandleW(nullptr);
}

}  // namespace kontaktel
