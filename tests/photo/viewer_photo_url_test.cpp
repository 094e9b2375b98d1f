// The real plugin with LoadPhotoUrl on: no spelling of this machine's own
// address is ever requested, whichever card is shown. (The product path has
// no seam, so even the tests' server at 127.0.0.1 is refused.)
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "photo/test_http_server.h"
#include "support/viewer_driver.h"

namespace kontaktel {
namespace {

using test::PluginTest;
using test::TempFile;
using test::TestHttpServer;

class ViewerPhotoUrlTest : public PluginTest {
 protected:
  std::string Cards(const std::string& port) const {
    std::string text;
    for (const char* host : {"127.0.0.1", "127.1", "2130706433", "0x7f.1", "0177.0.0.1",
                             "localhost", "localhost.", "[::1]", "017700000001"}) {
      text += "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:" + std::string(host) +
              "\r\nPHOTO;VALUE=URL:http://" + host + ":" + port + "/red.png\r\nEND:VCARD\r\n";
    }
    return text;
  }

  void ShowEveryCard(HWND viewer, int cards) {
    for (int i = 0; i < cards; ++i) {
      EXPECT_EQ(Diagnostics(viewer).selected, i);
      const DWORD until = GetTickCount() + 300;
      while (GetTickCount() < until) {
        Pump();
        Sleep(10);
      }
      SendMessageW(viewer, WM_KEYDOWN, VK_DOWN, 0);
    }
  }

  TestHttpServer server_;
};

TEST_F(ViewerPhotoUrlTest, NoSpellingOfThisMachineIsRequestedWithLoadPhotoUrlOn) {
  TempFile ini("[Kontaktel]\r\nLoadPhotoUrl=1\r\n", L".ini");
  SetIni(Narrow(ini.Path()));
  TempFile file(Cards(std::to_string(server_.Port())));
  const HWND viewer = Load(file);
  ASSERT_NE(viewer, nullptr);
  EXPECT_EQ(Diagnostics(viewer).loadPhotoUrl, 1);
  ShowEveryCard(viewer, 9);
  listCloseWindow_(viewer);
  EXPECT_TRUE(server_.Requests().empty());
}

}  // namespace
}  // namespace kontaktel
