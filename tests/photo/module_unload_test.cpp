// The host may unload the plugin while a photo download still runs: the
// worker's reference keeps the module loaded until the worker has ended, and
// then the module goes.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>

#include "photo/test_http_server.h"

namespace {

using kontaktel::test::TestHttpServer;

constexpr wchar_t kProbe[] = L"photo_probe.dll";

template <typename Function>
Function Get(HMODULE module, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

TEST(PhotoWorker, TheModuleStaysUntilAStalledWorkerEndsAndThenGoes) {
  TestHttpServer server;
  HMODULE probe = LoadLibraryW(kProbe);
  ASSERT_NE(probe, nullptr);
  const auto registerTarget = Get<void (*)(HWND)>(probe, "ProbeRegister");
  const auto close = Get<void (*)(HWND)>(probe, "ProbeClose");
  const auto start = Get<BOOL (*)(HWND, const wchar_t*)>(probe, "ProbeStartFetch");
  ASSERT_TRUE(registerTarget && close && start);

  const HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 10, 10, nullptr, nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
  registerTarget(window);
  ASSERT_TRUE(start(window, server.Url("/stall/2000").c_str()));
  for (int i = 0; i < 1000 && server.CountRequests("/stall/2000") == 0; ++i) Sleep(10);
  ASSERT_EQ(server.CountRequests("/stall/2000"), 1);

  // The viewer closes and the host unloads the plugin at once.
  close(window);
  const auto unloaded = std::chrono::steady_clock::now();
  FreeLibrary(probe);
  EXPECT_NE(GetModuleHandleW(kProbe), nullptr);
  for (int i = 0; i < 1000 && GetModuleHandleW(kProbe) != nullptr; ++i) Sleep(10);
  EXPECT_EQ(GetModuleHandleW(kProbe), nullptr);
  EXPECT_LT(std::chrono::steady_clock::now() - unloaded, std::chrono::milliseconds(4'000));

  MSG message;
  EXPECT_FALSE(PeekMessageW(&message, window, WM_APP + 77, WM_APP + 77, PM_REMOVE));
  DestroyWindow(window);
}

}  // namespace
