// The clipboard, written as Unicode text: the only thing the viewer ever puts
// there, and it never reads it.
#pragma once

#include <windows.h>

#include <string_view>

namespace kontaktel {

// The system calls a copy makes, replaceable so that a test can make each fail.
struct ClipboardCalls {
  HGLOBAL(WINAPI* allocate)(UINT flags, SIZE_T bytes) = GlobalAlloc;
  HANDLE(WINAPI* handOver)(UINT format, HANDLE data) = SetClipboardData;
};

// Puts the text on the clipboard as CF_UNICODETEXT (an empty text too); false
// when it could not. The text is made ready in memory before the clipboard is
// opened, so memory that cannot be had, or a clipboard that another program
// holds, leave what the user had there untouched; a block the clipboard
// refuses is freed.
bool CopyTextToClipboard(HWND owner, std::wstring_view text, const ClipboardCalls& calls = {});

// The same text, and beside it `bytes` exactly as given (no terminating NUL)
// under a format registered by `formatName`, such as "text/x-vcard"; without
// bytes, the text alone.
bool CopyTextAndBytesToClipboard(HWND owner, std::wstring_view text, const wchar_t* formatName,
                                 std::string_view bytes, const ClipboardCalls& calls = {});

}  // namespace kontaktel
