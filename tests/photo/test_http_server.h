// A small HTTP server of the tests' own on 127.0.0.1, in a thread of the test
// program, so downloads meet every kind of answer without any network:
//   /red.png, /blue.png   small PNG photos (2x3 and 5x4 pixels)
//   /redirect             302 to /red.png with an HTML body
//   /size/N               N bytes of 'x'
//   /stall/MS             the headers and 10 of 1000 bytes, then nothing for MS
//                         milliseconds (or until released), then the rest
//   /hang/ANY             no answer at all (until released)
//   /trickle              the headers, then one byte every 200 ms
//   /truncated            100 of the 1000 bytes announced, then the connection closes
//   /reset                500 of the 1000 bytes announced, then the connection is reset
//   /cookie               a photo that sets a cookie
//   /auth                 401, asking for NTLM, Negotiate or Basic log-on
//   /delay/MS/NAME.png    red.png or blue.png after MS milliseconds
//   /text/ANY             the text ANY as the body
// Every request is recorded with its headers.
#pragma once

#include <winsock2.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kontaktel::test {

extern const std::vector<uint8_t> kRedPng;   // 2 x 3 pixels
extern const std::vector<uint8_t> kBluePng;  // 5 x 4 pixels

class TestHttpServer {
 public:
  TestHttpServer();
  ~TestHttpServer();
  TestHttpServer(const TestHttpServer&) = delete;
  TestHttpServer& operator=(const TestHttpServer&) = delete;

  int Port() const { return port_; }
  std::wstring Url(const std::string& path) const;  // http://127.0.0.1:PORT/path
  // The request heads received so far (request line and headers).
  std::vector<std::string> Requests() const;
  int CountRequests(const std::string& path) const;
  // Ends every stalled answer now.
  void ReleaseStalls() { released_ = true; }
  // Connections that are still being answered.
  int OpenConnections() const { return openConnections_; }

 private:
  void Listen();
  void Answer(SOCKET client);
  void Sleep(int ms) const;  // returns early when the server stops

  SOCKET listener_ = INVALID_SOCKET;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::atomic<bool> released_{false};
  std::atomic<int> openConnections_{0};
  mutable std::mutex lock_;
  std::vector<std::string> requests_;
  std::vector<std::thread> answers_;
  std::thread listenThread_;
};

}  // namespace kontaktel::test
