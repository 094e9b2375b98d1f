#include "view/clipboard.h"

#include <cstring>
#include <limits>

#include "win/kernel_handles.h"
#include "win/window_handles.h"

namespace kontaktel {

namespace {

// A movable block holding the text and its terminating NUL, or none.
UniqueGlobalMemory PrepareText(std::wstring_view text, const ClipboardCalls& calls) {
  if (text.size() >= std::numeric_limits<SIZE_T>::max() / sizeof(wchar_t) - 1) return {};
  const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
  UniqueGlobalMemory memory(calls.allocate(GMEM_MOVEABLE, bytes));
  if (!memory) return {};
  const GlobalLockScope lock(memory.Get());
  if (lock.Data() == nullptr) return {};
  auto* target = static_cast<wchar_t*>(lock.Data());
  if (!text.empty()) std::memcpy(target, text.data(), text.size() * sizeof(wchar_t));
  target[text.size()] = L'\0';
  return memory;
}

UniqueGlobalMemory PrepareBytes(std::string_view bytes, const ClipboardCalls& calls) {
  UniqueGlobalMemory memory(calls.allocate(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes.size()));
  if (!memory) return {};
  const GlobalLockScope lock(memory.Get());
  if (lock.Data() == nullptr) return {};
  std::memcpy(lock.Data(), bytes.data(), bytes.size());
  return memory;
}

}  // namespace

bool CopyTextToClipboard(HWND owner, std::wstring_view text, const ClipboardCalls& calls) {
  return CopyTextAndBytesToClipboard(owner, text, nullptr, {}, calls);
}

bool CopyTextAndBytesToClipboard(HWND owner, std::wstring_view text, const wchar_t* formatName,
                                 std::string_view bytes, const ClipboardCalls& calls) {
  UniqueGlobalMemory memory = PrepareText(text, calls);
  if (!memory) return false;
  const UINT format =
      formatName != nullptr && !bytes.empty() ? RegisterClipboardFormatW(formatName) : 0;
  UniqueGlobalMemory extra = format != 0 ? PrepareBytes(bytes, calls) : UniqueGlobalMemory();
  if (format != 0 && !extra) return false;
  const ClipboardScope clipboard(owner);
  if (!clipboard.Opened() || !EmptyClipboard()) return false;
  if (calls.handOver(CF_UNICODETEXT, memory.Get()) == nullptr)
    return false;    // the block is still ours
  memory.Release();  // the clipboard owns it now
  if (extra && calls.handOver(format, extra.Get()) != nullptr) extra.Release();
  return true;
}

}  // namespace kontaktel
