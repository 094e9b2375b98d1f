// Fetching a photo over http or https with WinINet, bounded in time and size.
// Blocks for up to the deadline: worker threads only.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kontaktel {

inline constexpr size_t kPhotoSizeLimit = 5'242'880;  // a body this long or longer is no photo
inline constexpr DWORD kPhotoReadChunk = 8192;
inline constexpr DWORD kPhotoOperationTimeoutMs = 5000;  // connect, send, receive
inline constexpr DWORD kPhotoDeadlineMs = 30'000;        // a whole download

struct DownloadOptions {
  DWORD operationTimeoutMs = kPhotoOperationTimeoutMs;
  DWORD deadlineMs = kPhotoDeadlineMs;
  // Asked between reads; false ends the download with an empty result (the
  // window that wanted the photo is gone).
  std::function<bool()> keepGoing;

#ifdef KONTAKTEL_TEST_HOOKS
  // Only in the tests' build of these sources: lets their own server at
  // 127.0.0.1 past the address check; nothing else is relaxed.
  bool allowTestServer = false;
#endif
};

// The body of the URL, or empty when the URL is refused by the guard, the
// request fails, a read fails midway, the body reaches the size limit, the
// deadline passes or keepGoing says stop. Redirects are not followed; the
// status and type are not examined (the decoder rejects what is no image).
std::vector<uint8_t> DownloadPhoto(const std::wstring& url, const DownloadOptions& options);
std::vector<uint8_t> DownloadPhoto(const std::wstring& url);

}  // namespace kontaktel
