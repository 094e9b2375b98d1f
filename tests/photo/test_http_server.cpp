#include "photo/test_http_server.h"

#include <ws2tcpip.h>

#include <algorithm>
#include <chrono>

namespace kontaktel::test {

const std::vector<uint8_t> kRedPng = {
    0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44,
    0x52, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x03, 0x08, 0x02, 0x00, 0x00, 0x00, 0x36,
    0x88, 0x49, 0xD6, 0x00, 0x00, 0x00, 0x10, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9C, 0x63, 0x38,
    0x21, 0x27, 0x07, 0x44, 0x0C, 0x28, 0x14, 0x00, 0x44, 0x0D, 0x06, 0x19, 0x14, 0x26, 0x61,
    0x63, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};
const std::vector<uint8_t> kBluePng = {
    0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44,
    0x52, 0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00, 0x04, 0x08, 0x02, 0x00, 0x00, 0x00, 0xC9,
    0x51, 0x62, 0x17, 0x00, 0x00, 0x00, 0x11, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9C, 0x63, 0x90,
    0x93, 0x3B, 0x81, 0x8C, 0x18, 0x48, 0xE4, 0x03, 0x00, 0x7D, 0x16, 0x14, 0x51, 0xF1, 0x07,
    0x05, 0x7E, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};

namespace {

constexpr int kMaxRunMs = 120'000;  // no server outlives a runaway test by much
constexpr size_t kMaxHead = 16 * 1024;

bool SendAll(SOCKET socket, const char* data, size_t size) {
  while (size > 0) {
    const int sent = send(socket, data, static_cast<int>(std::min<size_t>(size, 65536)), 0);
    if (sent <= 0) return false;
    data += sent;
    size -= sent;
  }
  return true;
}

bool SendText(SOCKET socket, const std::string& text) {
  return SendAll(socket, text.data(), text.size());
}

std::string Head(int status, const std::string& reason, size_t length,
                 const std::string& extra = "") {
  return "HTTP/1.1 " + std::to_string(status) + " " + reason +
         "\r\nContent-Length: " + std::to_string(length) + "\r\nConnection: close\r\n" + extra +
         "\r\n";
}

void SendBody(SOCKET socket, const std::vector<uint8_t>& body, const std::string& extra = "") {
  if (SendText(socket, Head(200, "OK", body.size(), "Content-Type: image/png\r\n" + extra))) {
    SendAll(socket, reinterpret_cast<const char*>(body.data()), body.size());
  }
}

}  // namespace

TestHttpServer::TestHttpServer() {
  WSADATA data{};
  WSAStartup(MAKEWORD(2, 2), &data);
  listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof(address));
  listen(listener_, 16);
  int length = sizeof(address);
  getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
  port_ = ntohs(address.sin_port);
  listenThread_ = std::thread([this] { Listen(); });
}

TestHttpServer::~TestHttpServer() {
  stopping_ = true;
  released_ = true;
  listenThread_.join();
  for (std::thread& answer : answers_) answer.join();
  closesocket(listener_);
  WSACleanup();
}

std::wstring TestHttpServer::Url(const std::string& path) const {
  const std::string url = "http://127.0.0.1:" + std::to_string(port_) + path;
  return std::wstring(url.begin(), url.end());
}

std::vector<std::string> TestHttpServer::Requests() const {
  const std::lock_guard guard(lock_);
  return requests_;
}

int TestHttpServer::CountRequests(const std::string& path) const {
  const std::string line = "GET " + path + " ";
  const std::lock_guard guard(lock_);
  return static_cast<int>(std::count_if(requests_.begin(), requests_.end(),
                                        [&](const std::string& r) { return r.starts_with(line); }));
}

void TestHttpServer::Sleep(int ms) const {
  for (int waited = 0; waited < ms && !stopping_; waited += 10) ::Sleep(10);
}

void TestHttpServer::Listen() {
  const auto start = std::chrono::steady_clock::now();
  while (!stopping_ &&
         std::chrono::steady_clock::now() - start < std::chrono::milliseconds(kMaxRunMs)) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(listener_, &readable);
    timeval wait{0, 20'000};
    if (select(0, &readable, nullptr, nullptr, &wait) != 1) continue;
    const SOCKET client = accept(listener_, nullptr, nullptr);
    if (client == INVALID_SOCKET) continue;
    ++openConnections_;
    const std::lock_guard guard(lock_);
    answers_.emplace_back([this, client] {
      Answer(client);
      closesocket(client);
      --openConnections_;
    });
  }
}

void TestHttpServer::Answer(SOCKET client) {
  DWORD timeoutMs = 5000;
  setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeoutMs),
             sizeof(timeoutMs));
  std::string head;
  char buffer[1024];
  while (head.find("\r\n\r\n") == std::string::npos && head.size() < kMaxHead) {
    const int got = recv(client, buffer, sizeof(buffer), 0);
    if (got <= 0) return;
    head.append(buffer, got);
  }
  {
    const std::lock_guard guard(lock_);
    requests_.push_back(head);
  }
  const size_t pathStart = head.find(' ') + 1;
  const std::string path = head.substr(pathStart, head.find(' ', pathStart) - pathStart);

  if (path == "/red.png") {
    SendBody(client, kRedPng);
  } else if (path == "/blue.png") {
    SendBody(client, kBluePng);
  } else if (path == "/cookie") {
    SendBody(client, kRedPng, "Set-Cookie: session=secret; Path=/\r\n");
  } else if (path == "/redirect") {
    const std::string body = "<html><body>Moved</body></html>";
    SendText(client, Head(302, "Found", body.size(),
                          "Location: http://127.0.0.1:" + std::to_string(port_) + "/red.png\r\n") +
                         body);
  } else if (path == "/auth") {
    const std::string body = "<html>log on</html>";
    SendText(client, Head(401, "Unauthorized", body.size(),
                          "WWW-Authenticate: Negotiate\r\nWWW-Authenticate: NTLM\r\n"
                          "WWW-Authenticate: Basic realm=\"intranet\"\r\n") +
                         body);
  } else if (path.starts_with("/size/")) {
    const size_t size = std::stoul(path.substr(6));
    const std::vector<uint8_t> body(size, 'x');
    SendBody(client, body);
  } else if (path.starts_with("/stall/")) {
    if (SendText(client, Head(200, "OK", 1000) + "0123456789")) {
      const int pauseMs = std::min(std::stoi(path.substr(7)), 20'000);
      for (int waited = 0; waited < pauseMs && !released_; waited += 10) ::Sleep(10);
      SendText(client, std::string(990, 'x'));
    }
  } else if (path.starts_with("/hang/")) {
    for (int waited = 0; waited < kMaxRunMs && !released_; waited += 10) ::Sleep(10);
    return;  // not a byte of an answer
  } else if (path == "/trickle") {
    if (SendText(client, Head(200, "OK", 1000))) {
      for (int i = 0; i < 1000 && !released_; ++i) {
        if (!SendText(client, "x")) break;
        Sleep(200);
      }
    }
  } else if (path == "/truncated") {
    SendText(client, Head(200, "OK", 1000) + std::string(100, 'x'));
  } else if (path.starts_with("/delay/")) {
    const size_t slash = path.find('/', 7);
    Sleep(std::stoi(path.substr(7, slash - 7)));
    SendBody(client, path.ends_with("blue.png") ? kBluePng : kRedPng);
  } else if (path == "/reset") {
    // Half the body, then the connection is torn down (RST) instead of closed.
    SendText(client, Head(200, "OK", 1000) + std::string(500, 'x'));
    Sleep(100);
    linger abort{1, 0};
    setsockopt(client, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abort), sizeof(abort));
    return;
  } else if (path.starts_with("/text/")) {
    const std::string body = path.substr(6);
    SendText(client, Head(200, "OK", body.size()) + body);
  } else {
    SendText(client, Head(404, "Not Found", 0));
  }
  shutdown(client, SD_SEND);
}

}  // namespace kontaktel::test
