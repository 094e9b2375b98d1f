#include "plugin/plugin_globals.h"

namespace kontaktel {

PluginGlobals& Globals() {
  static PluginGlobals globals;
  return globals;
}

HINSTANCE ModuleHandle() {
  const HINSTANCE module = Globals().moduleHandle;
  return module != nullptr ? module : GetModuleHandleW(nullptr);
}

}  // namespace kontaktel
