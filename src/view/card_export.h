// The selected card taken out of the viewer: copied as the file holds it
// ("Copy as vCard", Ctrl+Shift+C), or its photo saved to a file ("Save photo
// as…").
#pragma once

#include <windows.h>
// These need the types of windows.h.
#include <commdlg.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kontaktel {

struct ViewerState;

// The selected card's own lines, from BEGIN to END, as Unicode text, and its
// own bytes under "text/x-vcard" for programs that take cards from the
// clipboard (left out when they cannot be found exactly). False when nothing
// was copied.
bool CopyCardAsVCard(HWND owner, const ViewerState& state);

enum class ImageFormat { kNone, kJpeg, kPng, kGif, kBmp };

// The format the bytes themselves announce.
ImageFormat ImageFormatOf(const std::vector<uint8_t>& bytes);

// A file name for the photo of a card named `displayName`: the characters a
// file name cannot hold replaced by "_", device names such as CON avoided,
// and the extension of the format.
std::wstring PhotoFileName(std::wstring_view displayName, ImageFormat format);

// The selected card's photo as it came, embedded or downloaded, when it is a
// JPEG, PNG, GIF or BMP; else empty.
std::vector<uint8_t> SavablePhoto(const ViewerState& state);

// The dialog and the message box, replaceable so that a test can answer them.
struct SavePhotoCalls {
  BOOL(WINAPI* getSaveFileName)(LPOPENFILENAMEW) = GetSaveFileNameW;
  int(WINAPI* messageBox)(HWND, LPCWSTR, LPCWSTR, UINT) = MessageBoxW;
};

// Asks for a file with the standard save dialog, owned by the viewer's
// top-level window, and writes the bytes there as they are. The user asked for
// the file, so a failed write is told in a message box (the one message the
// viewer ever shows). True when the file was written.
bool SavePhotoAs(HWND viewer, std::wstring_view displayName, const std::vector<uint8_t>& bytes,
                 const SavePhotoCalls& calls = {});

}  // namespace kontaktel
