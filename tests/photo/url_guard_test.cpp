// IsBlockedPhotoUrl on whole addresses, through WinINet's own URL cracker and
// the system resolver. Only literal addresses and names that need no DNS
// server: this machine's own name, and names under .invalid, which never
// resolve.
#include "photo/url_guard.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <winsock2.h>

#include <string>

namespace kontaktel {
namespace {

struct UrlCase {
  std::wstring url;
  bool blocked;
};

void ExpectVerdicts(const std::vector<UrlCase>& cases) {
  for (const UrlCase& c : cases) EXPECT_EQ(IsBlockedPhotoUrl(c.url), c.blocked) << c.url;
}

TEST(IsBlockedPhotoUrl, OnlyHttpAndHttpsToPublicAddresses) {
  ExpectVerdicts({
      {L"http://11.22.33.44/photo.jpg", false},
      {L"https://11.22.33.44/photo.jpg", false},
      {L"HTTPS://172.32.0.1/p.png", false},
      {L"http://100.64.0.1:8080/p.png", false},
      {L"http://127.0.0.1@11.22.33.44/p.png", false},  // user name 127.0.0.1, host public
      {L"ftp://11.22.33.44/p.png", true},
      {L"file://11.22.33.44/p.png", true},
      {L"gopher://11.22.33.44/", true},
      {L"11.22.33.44/p.png", true},
      {L"http:///p.png", true},
      {L"", true},
      {L"http://" + std::wstring(300, L'a') + L".com/p.png", true},
  });
}

// The address tables themselves are in address_rules_test.cpp; here the host
// as WinINet's cracker hands it over.
TEST(IsBlockedPhotoUrl, LocalAddressesAsTheCrackerSeesThem) {
  ExpectVerdicts({
      {L"http://127.0.0.1:8080/x", true},
      {L"http://0x7f.1/", true},
      {L"http://0251.0376.0251.0376/latest/meta-data/", true},
      {L"http://100.100.100.200/", true},
      {L"http://11.22.33.44@127.0.0.1/", true},
      {L"http://127.0.0.1./", true},
      {L"http://[::1]/", true},
      {L"http://[::ffff:127.0.0.1]/", true},
      {L"http://[2001:db8::1]/", true},  // no address literal in brackets is fetched
      {L"http://%31%32%37.0.0.1/", true},
      {L"http://\xFF11\xFF12\xFF17.0.0.1/", true},
      {L"http://172.32.0.1/", false},
      {L"http://0x0b.1/", false},  // 11.0.0.1
  });
}

TEST(IsBlockedPhotoUrl, LocalNamesAndNamesWithoutAnAddress) {
  char machine[256] = {};
  WSADATA data{};
  WSAStartup(MAKEWORD(2, 2), &data);
  gethostname(machine, sizeof(machine));
  WSACleanup();
  const std::string name(machine);
  ASSERT_FALSE(name.empty());
  ExpectVerdicts({
      {L"http://localhost/", true},
      {L"http://LocalHost:8080/", true},
      {L"http://localhost./", true},
      {L"http://LOCALHOST./", true},
      {L"http://metadata.google.internal/computeMetadata/v1/", true},
      {L"http://metadata/", true},
      {L"http://" + std::wstring(name.begin(), name.end()) + L"/", true},  // resolves here
      {L"http://photos.invalid/a.jpg", true},                              // resolves to nothing
      {L"http://256.1.1.1/", true},  // a name to the resolver, without an address
      {L"http://1.2.3.4.5/", true},
  });
}

TEST(ResolvesOnlyToAllowedAddresses, ThisMachineIsLocalAndNoAnswerIsNoPermission) {
  EXPECT_FALSE(ResolvesOnlyToAllowedAddresses(L"localhost"));
  EXPECT_FALSE(ResolvesOnlyToAllowedAddresses(L"photos.invalid"));
  EXPECT_FALSE(ResolvesOnlyToAllowedAddresses(L"::1"));
  EXPECT_TRUE(ResolvesOnlyToAllowedAddresses(L"11.22.33.44"));
  EXPECT_TRUE(ResolvesOnlyToAllowedAddresses(L"2001:db8::1"));
}

}  // namespace
}  // namespace kontaktel
