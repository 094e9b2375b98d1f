// The plugin DLL loaded as the host loads it, with one visible host window,
// for the tests that drive the real viewer through its exports.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "plugin/diagnostics.h"
#include "support/temp_file.h"

namespace kontaktel::test {

struct DefaultParams {
  int size;
  DWORD interfaceVersionLow;
  DWORD interfaceVersionHigh;
  char defaultIniName[260];
};

// The DLL as the host sees it: loaded fresh for every test and unloaded after,
// so that each test starts from a module that has done nothing yet.
class PluginTest : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = LoadLibraryW(KONTAKTEL_PLUGIN_PATH);
    ASSERT_NE(module_, nullptr) << "cannot load " << KONTAKTEL_PLUGIN_PATH;
    Get(listLoadW_, "ListLoadW");
    Get(listLoad_, "ListLoad");
    Get(listLoadNextW_, "ListLoadNextW");
    Get(listLoadNext_, "ListLoadNext");
    Get(listCloseWindow_, "ListCloseWindow");
    Get(listGetDetectString_, "ListGetDetectString");
    Get(listGetDetectStringW_, "ListGetDetectStringW");
    Get(listSearchTextW_, "ListSearchTextW");
    Get(listSearchText_, "ListSearchText");
    Get(listSendCommand_, "ListSendCommand");
    Get(listSetDefaultParams_, "ListSetDefaultParams");
    Get(diagnostics_, "KontaktelGetDiagnostics");
    ASSERT_NE(parent_, nullptr);
  }

  void TearDown() override {
    // Viewers left open by a test go before the module does.
    while (HWND child = GetWindow(parent_, GW_CHILD)) DestroyWindow(child);
    Pump();
    if (module_ != nullptr) FreeLibrary(module_);
  }

  // One visible host window for all tests: mapping a new top-level window costs
  // Wine about two seconds.
  static void SetUpTestSuite() {
    parent_ = CreateWindowExW(0, L"STATIC", L"Lister", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800,
                              600, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  static void TearDownTestSuite() {
    DestroyWindow(parent_);
    parent_ = nullptr;
  }

  template <typename Function>
  void Get(Function& function, const char* name) {
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
    ASSERT_NE(function, nullptr) << name;
  }

  static void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }

  KontaktelDiagnostics Diagnostics(HWND window = nullptr) const {
    KontaktelDiagnostics record{};
    record.size = sizeof record;
    diagnostics_(window, &record);
    return record;
  }

  void SetIni(const std::string& path) {
    DefaultParams params{};
    params.size = sizeof params;
    params.interfaceVersionHigh = 2;
    params.interfaceVersionLow = 12;
    std::snprintf(params.defaultIniName, sizeof params.defaultIniName, "%s", path.c_str());
    listSetDefaultParams_(&params);
  }

  static std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
  }

  HWND Load(const TempFile& file, int flags = 0) {
    return listLoadW_(parent_, file.Path().c_str(), flags);
  }

  HMODULE module_ = nullptr;
  static inline HWND parent_ = nullptr;
  HWND(__stdcall* listLoadW_)(HWND, const wchar_t*, int) = nullptr;
  HWND(__stdcall* listLoad_)(HWND, const char*, int) = nullptr;
  int(__stdcall* listLoadNextW_)(HWND, HWND, const wchar_t*, int) = nullptr;
  int(__stdcall* listLoadNext_)(HWND, HWND, const char*, int) = nullptr;
  void(__stdcall* listCloseWindow_)(HWND) = nullptr;
  void(__stdcall* listGetDetectString_)(char*, int) = nullptr;
  void(__stdcall* listGetDetectStringW_)(wchar_t*, int) = nullptr;
  int(__stdcall* listSearchTextW_)(HWND, const wchar_t*, int) = nullptr;
  int(__stdcall* listSearchText_)(HWND, const char*, int) = nullptr;
  int(__stdcall* listSendCommand_)(HWND, int, int) = nullptr;
  void(__stdcall* listSetDefaultParams_)(DefaultParams*) = nullptr;
  void(__stdcall* diagnostics_)(HWND, KontaktelDiagnostics*) = nullptr;
};

}  // namespace kontaktel::test
