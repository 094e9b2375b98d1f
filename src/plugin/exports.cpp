// The functions the host calls. Each body runs inside a catch-all guard: an
// exception must never unwind into the host.
#include <windows.h>

#include <algorithm>
#include <cstring>

namespace {

// The host offers the plugin every file whose extension matches.
constexpr char kDetectString[] = "EXT=\"VCF\" | EXT=\"VCARD\"";

template <typename Char>
void CopyDetectString(Char* buffer, int length) {
  if (buffer == nullptr || length < 1) return;
  const size_t count = std::min(std::strlen(kDetectString), static_cast<size_t>(length - 1));
  for (size_t i = 0; i < count; ++i) buffer[i] = static_cast<Char>(kDetectString[i]);
  buffer[count] = 0;
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH && instance != nullptr) DisableThreadLibraryCalls(instance);
  return TRUE;
}

void __stdcall ListGetDetectString(char* detectString, int maxLength) {
  try {
    CopyDetectString(detectString, maxLength);
  } catch (...) {
  }
}

void __stdcall ListGetDetectStringW(wchar_t* detectString, int maxLength) {
  try {
    CopyDetectString(detectString, maxLength);
  } catch (...) {
  }
}

}  // extern "C"
