// Downloads against the tests' own loopback server: photos arrive whole and
// decode, and every limit holds: redirects, the size limit, truncated bodies,
// stalling and trickling servers, cookies and log-on requests.
#include "photo/photo_download.h"

#include <objidl.h>
#include <windows.h>
// gdiplus.h needs min and max from somewhere; NOMINMAX keeps windows.h's away.
#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "photo/photo_test_seam.h"
#include "photo/test_http_server.h"

namespace kontaktel {
namespace {

using test::kBluePng;
using test::kRedPng;
using test::TestHttpServer;

DownloadOptions Seamed() {
  DownloadOptions options;
  PhotoTestSeam::AllowTestServer(options);
  return options;
}

std::vector<uint8_t> Bytes(const std::string& text) {
  return {text.begin(), text.end()};
}

// Width and height of the image GDI+ decodes from the bytes; 0 x 0 when none.
std::pair<UINT, UINT> DecodedSize(const std::vector<uint8_t>& bytes) {
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  std::pair<UINT, UINT> size{0, 0};
  IStream* stream = nullptr;
  if (Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok &&
      CreateStreamOnHGlobal(nullptr, TRUE, &stream) == S_OK) {
    stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), nullptr);
    stream->Seek({}, STREAM_SEEK_SET, nullptr);
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (Gdiplus::DllExports::GdipCreateBitmapFromStream(stream, &bitmap) == Gdiplus::Ok) {
      Gdiplus::DllExports::GdipGetImageWidth(bitmap, &size.first);
      Gdiplus::DllExports::GdipGetImageHeight(bitmap, &size.second);
      Gdiplus::DllExports::GdipDisposeImage(bitmap);
    }
    stream->Release();
  }
  if (token != 0) Gdiplus::GdiplusShutdown(token);
  return size;
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

class PhotoDownloadTest : public ::testing::Test {
 protected:
  TestHttpServer server_;
};

TEST_F(PhotoDownloadTest, APhotoArrivesWholeAndDecodes) {
  const std::vector<uint8_t> body = DownloadPhoto(server_.Url("/red.png"), Seamed());
  EXPECT_EQ(body, kRedPng);
  EXPECT_EQ(DecodedSize(body), std::make_pair(2u, 3u));
  EXPECT_EQ(DecodedSize(DownloadPhoto(server_.Url("/blue.png"), Seamed())), std::make_pair(5u, 4u));
}

TEST_F(PhotoDownloadTest, TheRequestNamesItselfAndUsesTheUrlAsWritten) {
  std::wstring url = server_.Url("/red.png");
  url.replace(0, 4, L"HTTP");
  EXPECT_EQ(DownloadPhoto(url, Seamed()), kRedPng);
  const std::vector<std::string> requests = server_.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_TRUE(requests[0].starts_with("GET /red.png HTTP/1.1\r\n")) << requests[0];
  EXPECT_NE(requests[0].find("\r\nUser-Agent: Kontaktel/" KONTAKTEL_VERSION "\r\n"),
            std::string::npos)
      << requests[0];
}

TEST_F(PhotoDownloadTest, TheProductPathRefusesEvenTheTestServer) {
  EXPECT_TRUE(DownloadPhoto(server_.Url("/red.png")).empty());
  EXPECT_TRUE(DownloadPhoto(server_.Url("/red.png"), DownloadOptions{}).empty());
  EXPECT_TRUE(server_.Requests().empty());
}

// The seam lets exactly 127.0.0.1 through; every other spelling of this
// machine stays refused, so none of them ever reaches the server.
TEST_F(PhotoDownloadTest, NoOtherSpellingOfThisMachineIsEverRequested) {
  char name[256] = {};
  gethostname(name, sizeof(name));
  const std::string port = ":" + std::to_string(server_.Port());
  // One of each notation; address_rules_test holds the rest.
  const std::string hosts[] = {"127.1",
                               "2130706433",
                               "0x7f.1",
                               "0177.0.0.1",
                               "127.0.0.1.",
                               "0",
                               "localhost",
                               "[::1]",
                               "[::ffff:127.0.0.1]",
                               "%31%32%37.0.0.1",
                               "11.22.33.44@localhost",
                               "127.000.000.001",
                               name};
  for (const std::string& host : hosts) {
    const std::string url = "http://" + host + port + "/red.png";
    EXPECT_TRUE(DownloadPhoto(std::wstring(url.begin(), url.end()), Seamed()).empty()) << url;
  }
  EXPECT_TRUE(server_.Requests().empty());
  // Next to them, the address the seam stands in for a public one is fetched.
  EXPECT_EQ(DownloadPhoto(server_.Url("/red.png"), Seamed()), kRedPng);
}

TEST_F(PhotoDownloadTest, ShortAddressesAndOtherSchemesFetchNothing) {
  for (const wchar_t* url : {L"", L"http://", L"http:/x", L"ftp://127.0.0.1/red.png",
                             L"file:///Z:/tmp/red.png", L"gopher://127.0.0.1/"}) {
    EXPECT_TRUE(DownloadPhoto(url, Seamed()).empty()) << url;
  }
}

TEST_F(PhotoDownloadTest, ARedirectIsNotFollowedAndItsBodyIsNoPhoto) {
  const std::vector<uint8_t> body = DownloadPhoto(server_.Url("/redirect"), Seamed());
  EXPECT_EQ(body, Bytes("<html><body>Moved</body></html>"));
  EXPECT_EQ(DecodedSize(body), std::make_pair(0u, 0u));
  EXPECT_EQ(server_.CountRequests("/red.png"), 0);
}

TEST_F(PhotoDownloadTest, FiveMebibytesAreTooManyOneByteLessIsKept) {
  EXPECT_TRUE(DownloadPhoto(server_.Url("/size/5242880"), Seamed()).empty());
  EXPECT_TRUE(DownloadPhoto(server_.Url("/size/6000000"), Seamed()).empty());
  const std::vector<uint8_t> body = DownloadPhoto(server_.Url("/size/5242879"), Seamed());
  EXPECT_EQ(body.size(), 5'242'879u);
  EXPECT_EQ(std::count(body.begin(), body.end(), 'x'), 5'242'879);
}

TEST_F(PhotoDownloadTest, ATruncatedBodyIsNoPhoto) {
  EXPECT_TRUE(DownloadPhoto(server_.Url("/truncated"), Seamed()).empty());
  EXPECT_TRUE(DownloadPhoto(server_.Url("/reset"), Seamed()).empty());
  EXPECT_EQ(server_.CountRequests("/truncated"), 1);
  EXPECT_EQ(server_.CountRequests("/reset"), 1);
}

TEST_F(PhotoDownloadTest, AServerThatPausesWithinTheLimitsIsWaitedFor) {
  const std::vector<uint8_t> body = DownloadPhoto(server_.Url("/stall/1500"), Seamed());
  EXPECT_EQ(body, Bytes("0123456789" + std::string(990, 'x')));
}

// Each wait is bounded by the operation time-out or the time left, whichever
// is shorter; a wait that the system lets run longer (Wine ignores receive
// time-outs) still ends the download as soon as it returns.
TEST_F(PhotoDownloadTest, AServerThatStallsPastTheDeadlineYieldsNothing) {
  DownloadOptions options = Seamed();
  options.deadlineMs = 800;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(DownloadPhoto(server_.Url("/stall/1500"), options).empty());
  EXPECT_LT(SecondsSince(start), 2.5);
}

TEST_F(PhotoDownloadTest, ATricklingServerIsLeftAtTheDeadline) {
  DownloadOptions options = Seamed();
  options.deadlineMs = 1500;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(DownloadPhoto(server_.Url("/trickle"), options).empty());
  const double seconds = SecondsSince(start);
  EXPECT_GE(seconds, 1.4);
  EXPECT_LT(seconds, 2.5);
}

TEST_F(PhotoDownloadTest, ADownloadStopsSoonAfterItsWindowIsGone) {
  std::atomic<bool> windowAlive{true};
  DownloadOptions options = Seamed();
  options.keepGoing = [&] { return windowAlive.load(); };
  std::thread closer([&] {
    Sleep(500);
    windowAlive = false;
  });
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(DownloadPhoto(server_.Url("/trickle"), options).empty());
  closer.join();
  EXPECT_LT(SecondsSince(start), 1.5);
}

TEST_F(PhotoDownloadTest, NoCookiesAreKeptOrSent) {
  EXPECT_EQ(DownloadPhoto(server_.Url("/cookie"), Seamed()), kRedPng);
  EXPECT_EQ(DownloadPhoto(server_.Url("/cookie"), Seamed()), kRedPng);
  for (const std::string& request : server_.Requests()) {
    EXPECT_EQ(request.find("Cookie:"), std::string::npos) << request;
  }
}

TEST_F(PhotoDownloadTest, ALogOnRequestIsAnsweredWithNoCredentials) {
  EXPECT_EQ(DownloadPhoto(server_.Url("/auth"), Seamed()), Bytes("<html>log on</html>"));
  const std::vector<std::string> requests = server_.Requests();
  EXPECT_EQ(requests.size(), 1u);
  for (const std::string& request : requests) {
    EXPECT_EQ(request.find("Authorization:"), std::string::npos) << request;
  }
}

}  // namespace
}  // namespace kontaktel
