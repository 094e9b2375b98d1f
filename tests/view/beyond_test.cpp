// What the viewer offers beyond showing cards, driven through the real DLL:
// the list as a screen reader reads it, "Copy as vCard" and "Save photo as…",
// and the filter's words marked in the details.
#include <gtest/gtest.h>
#include <oleacc.h>
#include <richedit.h>
#include <windows.h>

#include <string>
#include <vector>

#include "support/plugin_fixture.h"
#include "support/temp_file.h"
#include "support/window_probe.h"

namespace {

using kontaktel::test::PluginTest;
using kontaktel::test::TempFile;

constexpr int kFilterEditId = 1010;

// Anna has a phone, Boris only a mailto address, the third card nothing.
constexpr char kCards[] =
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Anna M\xC3\xBCller\r\nTEL;TYPE=CELL:+49 170 1234567\r\n"
    "END:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Boris Petrov\r\nURL:mailto:boris@example.ru\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nEND:VCARD\r\n";

class BeyondTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    CoInitialize(nullptr);
  }
  void TearDown() override {
    PluginTest::TearDown();
    CoUninitialize();
  }

  HWND Open(const std::string& bytes) {
    file_ = std::make_unique<TempFile>(bytes);
    const HWND viewer = listLoadW_(parent_, file_->Path().c_str(), 0);
    RECT client{};
    GetClientRect(parent_, &client);
    MoveWindow(viewer, 0, 0, client.right, client.bottom, TRUE);
    UpdateWindow(viewer);
    Pump();
    return viewer;
  }

  std::unique_ptr<TempFile> file_;
};

// The list's own object, as a reader gets it.
IAccessible* ListObject(HWND viewer) {
  IAccessible* object = nullptr;
  EXPECT_EQ(AccessibleObjectFromWindow(viewer, static_cast<DWORD>(OBJID_CLIENT),
                                       __uuidof(IAccessible), reinterpret_cast<void**>(&object)),
            S_OK);
  return object;
}

VARIANT Id(long child) {
  VARIANT id{};
  id.vt = VT_I4;
  id.lVal = child;
  return id;
}

std::wstring Take(BSTR text) {
  std::wstring taken = text != nullptr ? std::wstring(text, SysStringLen(text)) : L"";
  SysFreeString(text);
  return taken;
}

// What a reader says about a child: name, description, role and state.
struct Spoken {
  std::wstring name, description;
  long role = 0, state = 0;
  bool operator==(const Spoken&) const = default;
};

Spoken Speak(IAccessible* list, long child) {
  Spoken spoken;
  BSTR text = nullptr;
  list->get_accName(Id(child), &text);
  spoken.name = Take(text);
  text = nullptr;
  list->get_accDescription(Id(child), &text);
  spoken.description = Take(text);
  VARIANT value{};
  list->get_accRole(Id(child), &value);
  spoken.role = value.lVal;
  list->get_accState(Id(child), &value);
  spoken.state = value.lVal;
  return spoken;
}

std::ostream& operator<<(std::ostream& out, const Spoken& spoken) {
  return out << std::string(spoken.name.begin(), spoken.name.end()) << " / "
             << std::string(spoken.description.begin(), spoken.description.end()) << " role "
             << spoken.role << " state 0x" << std::hex << spoken.state << std::dec;
}

long ChildCount(IAccessible* list) {
  long count = -1;
  list->get_accChildCount(&count);
  return count;
}

struct Event {
  DWORD event;
  LONG object, child;
  bool operator==(const Event&) const = default;
};
std::vector<Event> events;
HWND listened = nullptr;  // only this window's events count

void CALLBACK OnWinEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD,
                         DWORD) {
  if (window == listened) events.push_back({event, object, child});
}

constexpr long kItem = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE;
constexpr long kSelected = STATE_SYSTEM_SELECTED;
constexpr long kFocused = STATE_SYSTEM_FOCUSED;

TEST_F(BeyondTest, ScreenReaderReadsTheListAndHearsTheSelectionMove) {
  const HWND viewer = Open(kCards);
  SetFocus(viewer);
  IAccessible* list = ListObject(viewer);
  ASSERT_NE(list, nullptr);
  // The three cards, then the filter edit, the check box and the details view.
  EXPECT_EQ(ChildCount(list), 6);
  const Spoken expected[] = {
      {L"Contacts", L"Contacts: 3  (1/3)", ROLE_SYSTEM_LIST, STATE_SYSTEM_FOCUSABLE | kFocused},
      {L"Anna M\x00FCller", L"Tel: +49 170 1234567", ROLE_SYSTEM_LISTITEM,
       kItem | kSelected | kFocused},
      {L"Boris Petrov", L"Email: boris@example.ru", ROLE_SYSTEM_LISTITEM, kItem},
      {L"(empty card)", L"", ROLE_SYSTEM_LISTITEM, kItem},
  };
  for (long child = 0; child < 4; ++child) EXPECT_EQ(Speak(list, child), expected[child]) << child;
  BSTR action = nullptr;
  list->get_accDefaultAction(Id(2), &action);
  EXPECT_EQ(Take(action), L"Select");
  IDispatch* edit = nullptr;
  EXPECT_EQ(list->get_accChild(Id(4), &edit), S_OK);
  if (edit != nullptr) edit->Release();
  long left = 0, top = 0, width = 0, height = 0;
  ASSERT_EQ(list->accLocation(&left, &top, &width, &height, Id(1)), S_OK);
  RECT window{};
  GetWindowRect(viewer, &window);
  EXPECT_TRUE(left > window.left && top > window.top && width > 100 && height == 58)
      << left << "," << top << " " << width << "x" << height;

  // Down walks the list: a reader hears the second card, focus and selection.
  events.clear();
  listened = viewer;
  const HWINEVENTHOOK hook =
      SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_SELECTION, nullptr, OnWinEvent,
                      GetCurrentProcessId(), GetCurrentThreadId(), WINEVENT_OUTOFCONTEXT);
  SendMessageW(viewer, WM_KEYDOWN, VK_DOWN, 0);
  Pump();
  const std::vector<Event> heard{{EVENT_OBJECT_FOCUS, OBJID_CLIENT, 2},
                                 {EVENT_OBJECT_SELECTION, OBJID_CLIENT, 2}};
  EXPECT_EQ(events, heard);
  EXPECT_EQ(Speak(list, 2).state, kItem | kSelected | kFocused);
  // A viewer without the focus (a quick view beside the file list) says nothing.
  SetFocus(parent_);
  Pump();
  events.clear();
  SendMessageW(viewer, WM_KEYDOWN, VK_DOWN, 0);
  Pump();
  EXPECT_TRUE(events.empty());
  UnhookWinEvent(hook);

  // A filter leaves one card in the list.
  SetWindowTextW(GetDlgItem(viewer, kFilterEditId), L"bor");
  EXPECT_EQ(ChildCount(list), 4);
  EXPECT_EQ(Speak(list, 1).name, L"Boris Petrov");

  // The viewer closes under the reader's feet: the object answers, harmlessly.
  listCloseWindow_(viewer);
  BSTR name = nullptr;
  EXPECT_EQ(list->get_accName(Id(1), &name), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(list->get_accChildCount(&left), CO_E_OBJNOTCONNECTED);
  list->Release();
}

TEST_F(BeyondTest, RowsOffThePageAreOffScreen) {
  std::string cards;
  for (int i = 0; i < 30; ++i)
    cards += "BEGIN:VCARD\r\nFN:Card " + std::to_string(i) + "\r\nEND:VCARD\r\n";
  const HWND viewer = Open(cards);
  IAccessible* list = ListObject(viewer);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(ChildCount(list), 33);
  EXPECT_EQ(Speak(list, 2).state & STATE_SYSTEM_OFFSCREEN, 0);
  EXPECT_EQ(Speak(list, 30).state & STATE_SYSTEM_OFFSCREEN, STATE_SYSTEM_OFFSCREEN);
  list->Release();
}

}  // namespace
