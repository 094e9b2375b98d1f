#include "view/card_export.h"

#include <algorithm>
#include <optional>

#include "config/ui_language.h"
#include "text/source_bytes.h"
#include "view/clipboard.h"
#include "view/viewer_state.h"

namespace kontaktel {

namespace {

struct FormatInfo {
  const wchar_t* extension;  // without the dot
  const wchar_t* filter;     // the dialog's file types, NUL-separated
};

FormatInfo InfoOf(ImageFormat format) {
  switch (format) {
    case ImageFormat::kJpeg:
      return {L"jpg", L"JPEG (*.jpg)\0*.jpg;*.jpeg\0"};
    case ImageFormat::kPng:
      return {L"png", L"PNG (*.png)\0*.png\0"};
    case ImageFormat::kGif:
      return {L"gif", L"GIF (*.gif)\0*.gif\0"};
    case ImageFormat::kBmp:
      return {L"bmp", L"BMP (*.bmp)\0*.bmp\0"};
    case ImageFormat::kNone:
      break;
  }
  return {L"", L"\0"};
}

bool StartsWith(const std::vector<uint8_t>& bytes, std::string_view prefix) {
  return bytes.size() >= prefix.size() &&
         std::equal(prefix.begin(), prefix.end(), bytes.begin(),
                    [](char a, uint8_t b) { return static_cast<uint8_t>(a) == b; });
}

bool IsDeviceName(std::wstring_view base) {
  std::wstring upper(base.substr(0, base.find(L'.')));
  while (!upper.empty() && upper.back() == L' ') upper.pop_back();
  for (wchar_t& c : upper) c = (c >= L'a' && c <= L'z') ? c - (L'a' - L'A') : c;
  if (upper == L"CON" || upper == L"PRN" || upper == L"AUX" || upper == L"NUL") return true;
  return upper.size() == 4 && (upper.starts_with(L"COM") || upper.starts_with(L"LPT")) &&
         upper[3] >= L'1' && upper[3] <= L'9';
}

// The file handle of a file being written.
class WrittenFile {
 public:
  explicit WrittenFile(const wchar_t* path)
      : handle_(CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                            nullptr)),
        opened_(handle_ != INVALID_HANDLE_VALUE) {}
  ~WrittenFile() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  WrittenFile(const WrittenFile&) = delete;
  WrittenFile& operator=(const WrittenFile&) = delete;
  bool Opened() const { return opened_; }

  bool Write(const std::vector<uint8_t>& bytes) {
    if (handle_ == INVALID_HANDLE_VALUE) return false;
    size_t done = 0;
    while (done < bytes.size()) {
      const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
      DWORD written = 0;
      if (!WriteFile(handle_, bytes.data() + done, chunk, &written, nullptr) || written == 0)
        return false;
      done += written;
    }
    return true;
  }
  // Closes the file; false when what was written did not reach it.
  bool Close() {
    const bool closed = handle_ != INVALID_HANDLE_VALUE && CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_;
  bool opened_;
};

std::wstring SystemMessage(DWORD error) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = length > 0 ? std::wstring(buffer, length) : std::wstring();
  if (buffer != nullptr) LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' '))
    text.pop_back();
  return text;
}

}  // namespace

bool CopyCardAsVCard(HWND owner, const ViewerState& state) {
  if (state.filter.selected >= state.cards.size()) return false;
  const Card card = state.cards[state.filter.selected];
  const std::optional<std::string> bytes = card.sourceBytes(state.source);
  return CopyTextAndBytesToClipboard(owner, card.sourceText(), L"text/x-vcard",
                                     bytes ? std::string_view(*bytes) : std::string_view());
}

ImageFormat ImageFormatOf(const std::vector<uint8_t>& bytes) {
  if (StartsWith(bytes, "\xFF\xD8\xFF")) return ImageFormat::kJpeg;
  if (StartsWith(bytes, "\x89PNG\r\n\x1A\n")) return ImageFormat::kPng;
  if (StartsWith(bytes, "GIF87a") || StartsWith(bytes, "GIF89a")) return ImageFormat::kGif;
  if (StartsWith(bytes, "BM") && bytes.size() > 14) return ImageFormat::kBmp;
  return ImageFormat::kNone;
}

std::wstring PhotoFileName(std::wstring_view displayName, ImageFormat format) {
  constexpr size_t kLongest = 120;  // room for the folder in the dialog's path
  std::wstring name;
  for (const wchar_t c : displayName.substr(0, kLongest)) {
    const bool forbidden =
        c < 0x20 || std::wstring_view(L"<>:\"/\\|?*").find(c) != std::wstring_view::npos;
    name += forbidden ? L'_' : c;
  }
  // Windows drops blanks and dots at the end of a name, and blanks at its start.
  while (!name.empty() && (name.back() == L' ' || name.back() == L'.')) name.pop_back();
  name.erase(0, std::min(name.find_first_not_of(L' '), name.size()));
  if (name.empty()) name = L"photo";
  if (IsDeviceName(name)) name += L'_';
  return name + L"." + InfoOf(format).extension;
}

std::vector<uint8_t> SavablePhoto(const ViewerState& state) {
  if (state.filter.selected >= state.cards.size()) return {};
  const Card card = state.cards[state.filter.selected];
  std::vector<uint8_t> bytes;
  if (card.hasPhotoData()) {
    bytes = card.photoData();
  } else if (state.photo.image && state.photo.bytes) {
    bytes = *state.photo.bytes;  // downloaded for this card, as it came
  }
  if (ImageFormatOf(bytes) == ImageFormat::kNone) bytes.clear();
  return bytes;
}

bool SavePhotoAs(HWND viewer, std::wstring_view displayName, const std::vector<uint8_t>& bytes,
                 const SavePhotoCalls& calls) {
  const ImageFormat format = ImageFormatOf(bytes);
  if (format == ImageFormat::kNone) return false;
  const bool russian = UiIsRussian();
  const HWND owner = IsWindow(viewer) ? GetAncestor(viewer, GA_ROOT) : nullptr;
  std::wstring path = PhotoFileName(displayName, format);
  path.resize(32768, L'\0');
  const FormatInfo info = InfoOf(format);
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = info.filter;
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = static_cast<DWORD>(path.size());
  dialog.lpstrTitle = russian ? L"Сохранить фото как" : L"Save photo as";
  dialog.lpstrDefExt = info.extension;
  dialog.Flags =
      OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
  if (!calls.getSaveFileName(&dialog)) return false;  // cancelled
  path.resize(path.find(L'\0'));

  WrittenFile file(path.c_str());
  bool written = file.Write(bytes);
  DWORD error = written ? 0 : GetLastError();
  if (!file.Close() && written) {
    written = false;
    error = GetLastError();
  }
  if (written) return true;
  if (file.Opened()) DeleteFileW(path.c_str());  // no half photo stays behind
  std::wstring message =
      (russian ? L"Не удалось сохранить фото в файл\n" : L"The photo could not be saved to\n") +
      path;
  if (const std::wstring reason = SystemMessage(error); !reason.empty())
    message += L"\n\n" + reason;
  calls.messageBox(owner, message.c_str(), L"Kontaktel", MB_OK | MB_ICONWARNING);
  return false;
}

}  // namespace kontaktel
