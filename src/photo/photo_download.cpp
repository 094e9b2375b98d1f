#include "photo/photo_download.h"

#include <wininet.h>

#include <algorithm>
#include <cwctype>

#include "photo/url_guard.h"
#include "win/net_handles.h"

namespace kontaktel {

namespace {

constexpr wchar_t kUserAgent[] = L"Kontaktel/2.5";
// Always from the server, never into the cache, redirects not followed (a
// redirect could point anywhere the guard did not see), no user interface, no
// cookies and no logging on with the user's Windows credentials.
constexpr DWORD kHttpFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                             INTERNET_FLAG_NO_AUTO_REDIRECT | INTERNET_FLAG_NO_UI |
                             INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_AUTH;
constexpr DWORD kHttpsFlags = kHttpFlags | INTERNET_FLAG_SECURE;
static_assert((kHttpFlags & 0x84200200) == 0x84200200 && (kHttpsFlags & 0x84A00200) == 0x84A00200);

std::wstring LowerCopy(const std::wstring& text) {
  std::wstring lower(text);
  for (wchar_t& c : lower) c = static_cast<wchar_t>(std::towlower(c));
  return lower;
}

// The product refuses every blocked address; the tests' build lets their own
// loopback server through where they ask for it.
bool Refused(const std::wstring& url, [[maybe_unused]] const DownloadOptions& options) {
  if (!IsBlockedPhotoUrl(url)) return false;
#ifdef KONTAKTEL_TEST_HOOKS
  if (options.allowTestServer) {
    const std::optional<CrackedPhotoUrl> parts = CrackPhotoUrl(url);
    return !(parts && parts->host == L"127.0.0.1");
  }
#endif
  return true;
}

// Milliseconds left before the deadline, never more than one operation's
// time-out, so that no single wait can carry the download past it.
class Deadline {
 public:
  Deadline(DWORD operationMs, DWORD totalMs)
      : operationMs_(operationMs), start_(GetTickCount64()), totalMs_(totalMs) {}
  DWORD NextWaitMs() const {
    const ULONGLONG elapsed = GetTickCount64() - start_;
    if (elapsed >= totalMs_) return 0;
    return static_cast<DWORD>(std::min<ULONGLONG>(operationMs_, totalMs_ - elapsed));
  }

 private:
  DWORD operationMs_;
  ULONGLONG start_;
  ULONGLONG totalMs_;
};

void SetTimeouts(HINTERNET handle, DWORD ms) {
  for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT,
                       INTERNET_OPTION_SEND_TIMEOUT}) {
    InternetSetOptionW(handle, option, &ms, sizeof(ms));
  }
}

// A connection closed before the announced length is a failed read, though
// WinINet reports it as the end of the body.
bool IsWholeBody(HINTERNET request, size_t size) {
  DWORD length = 0;
  DWORD lengthSize = sizeof(length);
  if (!HttpQueryInfoW(request, HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &length,
                      &lengthSize, nullptr)) {
    return true;  // no length announced: the body ends where the connection does
  }
  return size == length;
}

bool KeepGoing(const DownloadOptions& options) {
  return !options.keepGoing || options.keepGoing();
}

// Reads what has arrived, a step at a time: a read that waits for a full
// chunk would let a server that trickles a byte at a time hold it forever.
bool ReadBody(HINTERNET request, const DownloadOptions& options, const Deadline& deadline,
              std::vector<uint8_t>& body) {
  while (true) {
    if (!KeepGoing(options)) return false;
    const DWORD waitMs = deadline.NextWaitMs();
    if (waitMs == 0) return false;
    SetTimeouts(request, waitMs);
    DWORD available = 0;
    if (!InternetQueryDataAvailable(request, &available, 0, 0)) return false;
    if (available == 0) return IsWholeBody(request, body.size());
    const DWORD want = std::min(available, kPhotoReadChunk);
    const size_t old = body.size();
    body.resize(old + want);
    DWORD read = 0;
    if (!InternetReadFile(request, body.data() + old, want, &read)) return false;
    body.resize(old + read);
    if (read == 0) return IsWholeBody(request, body.size());
    if (body.size() >= kPhotoSizeLimit) return false;
  }
}

}  // namespace

std::vector<uint8_t> DownloadPhoto(const std::wstring& url, const DownloadOptions& options) {
  // The guard's name resolution counts against the deadline too.
  const Deadline deadline(options.operationTimeoutMs, options.deadlineMs);
  if (url.size() < 8) return {};
  const std::wstring lower = LowerCopy(url);
  const bool https = lower.starts_with(L"https://");
  if (!https && !lower.starts_with(L"http://")) return {};
  if (Refused(url, options)) return {};
  if (!KeepGoing(options)) return {};

  const UniqueInternet root(
      InternetOpenW(kUserAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!root) return {};
  const DWORD waitMs = deadline.NextWaitMs();
  if (waitMs == 0) return {};
  SetTimeouts(root.Get(), waitMs);
  const UniqueInternet request(
      InternetOpenUrlW(root.Get(), url.c_str(), nullptr, 0, https ? kHttpsFlags : kHttpFlags, 0));
  if (!request) return {};
  std::vector<uint8_t> body;
  // A truncated body is no photo, nor is one at the size limit.
  if (!ReadBody(request.Get(), options, deadline, body)) return {};
  if (body.size() >= kPhotoSizeLimit) return {};
  return body;
}

std::vector<uint8_t> DownloadPhoto(const std::wstring& url) {
  return DownloadPhoto(url, DownloadOptions{});
}

}  // namespace kontaktel
