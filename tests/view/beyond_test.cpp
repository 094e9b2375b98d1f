// What the viewer offers beyond showing cards, driven through the real DLL:
// the list as a screen reader reads it, "Copy as vCard" and "Save photo as…",
// and the filter's words marked in the details.
#include <gtest/gtest.h>
#include <oleacc.h>
#include <richedit.h>
#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/viewer_driver.h"
#include "support/temp_file.h"
#include "vcard/card_parser.h"
#include "view/card_export.h"

namespace {

using kontaktel::test::ClipboardText;
using kontaktel::test::PluginTest;
using kontaktel::test::ReadFixture;
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

// What a program taking cards from the clipboard gets.
std::string ClipboardBytes(const wchar_t* formatName) {
  std::string bytes;
  if (!OpenClipboard(nullptr)) return bytes;
  if (const HANDLE data = GetClipboardData(RegisterClipboardFormatW(formatName))) {
    if (const auto* start = static_cast<const char*>(GlobalLock(data))) {
      bytes.assign(start, GlobalSize(data));
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return bytes;
}

std::wstring FromUtf8(const std::string& text) {
  std::wstring wide(text.size(), L'\0');
  wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, text.data(),
                                                      static_cast<int>(text.size()), wide.data(),
                                                      static_cast<int>(wide.size()))));
  return wide;
}

void HoldKeys(std::initializer_list<int> keys) {
  BYTE state[256] = {};
  for (const int key : keys) state[key] = 0x80;
  SetKeyboardState(state);
}

TEST_F(BeyondTest, CopyAsVCardGivesTheCardsOwnLinesAndBytes) {
  const std::string card = ReadFixture("copy-as-vcard.card.vcf");
  const std::wstring cardText = FromUtf8(ReadFixture("copy-as-vcard.card.txt"));
  // In UTF-16 the bytes are 16-bit units; the last card has no break.
  const std::wstring last = L"BEGIN:VCARD\nFN:Last\nEND:VCARD";
  const std::wstring utf16Text = cardText + last;
  const std::string utf16 =
      "\xFF\xFE" +
      std::string(reinterpret_cast<const char*>(utf16Text.data()), utf16Text.size() * 2);
  // A UTF-8 exporter folded inside a character ("ё" cut after its first byte):
  // reading joins the fold, the bytes keep it.
  const std::string cut = "BEGIN:VCARD\r\nFN:\xD0\r\n \xB5\xD0\xBB\r\nEND:VCARD\r\n";
  struct Case {
    std::string file;
    UINT key;  // walks to the card
    std::wstring text;
    std::string bytes;
  };
  const Case cases[] = {
      // A folded vCard 2.1 card in Windows-1251, with quoted-printable and
      // photo lines, between two others (the last with bare LF breaks).
      {ReadFixture("copy-as-vcard.vcf"), VK_DOWN, cardText, card},
      {utf16, VK_END, last, utf16.substr(utf16.size() - last.size() * 2)},
      {"BEGIN:VCARD\nFN:A\nEND:VCARD\n" + cut, VK_END,
       L"BEGIN:VCARD\r\nFN:\x0435\x043B\r\nEND:VCARD\r\n", cut},
  };
  for (const Case& c : cases) {
    const HWND viewer = Open(c.file);
    SetFocus(viewer);
    SendMessageW(viewer, WM_KEYDOWN, c.key, 0);
    HoldKeys({VK_CONTROL, VK_SHIFT});
    SendMessageW(viewer, WM_KEYDOWN, 'C', 0);
    HoldKeys({});
    EXPECT_EQ(ClipboardText(), c.text);
    EXPECT_EQ(ClipboardBytes(L"text/x-vcard"), c.bytes);
    listCloseWindow_(viewer);
  }
}

std::vector<std::wstring> menuItems;

// Reads the items of the menu being tracked, then closes it.
void CALLBACK ReadMenu(HWND, UINT, UINT_PTR timer, DWORD) {
  const HWND menuWindow = FindWindowW(L"#32768", nullptr);
  if (menuWindow == nullptr || !IsWindowVisible(menuWindow)) return;
  KillTimer(nullptr, timer);
  const auto menu =
      reinterpret_cast<HMENU>(SendMessageW(menuWindow, 0x01E1 /* MN_GETHMENU */, 0, 0));
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t text[128] = {};
    GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
    menuItems.push_back(text);
  }
  PostMessageW(GetFocus() != nullptr ? GetFocus() : menuWindow, WM_KEYDOWN, VK_ESCAPE, 0);
}

TEST_F(BeyondTest, BothMenusOfferToSaveAPhotoInBothLanguages) {
  for (const bool russian : {false, true}) {
    const TempFile ini(russian ? "[Configuration]\r\nLanguageIni=WCMD_RUS.LNG\r\n"
                               : "[Configuration]\r\nLanguageIni=WCMD_ENG.LNG\r\n",
                       L".ini");
    SetIni(Narrow(ini.Path()));
    const HWND viewer = Open(ReadFixture("copy-as-vcard.vcf"));
    const std::wstring save = russian ? L"Сохранить фото как\x2026" : L"Save photo as\x2026";
    const std::wstring copy = russian ? L"Копировать как vCard" : L"Copy as vCard";
    // The first card has no photo, the second a GIF.
    for (const bool photo : {false, true}) {
      if (photo) SendMessageW(viewer, WM_KEYDOWN, VK_DOWN, 0);
      for (const UINT menu : {WM_APP + 40, WM_APP + 41}) {
        menuItems.clear();
        SetTimer(nullptr, 0, 50, ReadMenu);
        PostMessageW(viewer, menu, 0, MAKELPARAM(200, 200));
        Pump();
        ASSERT_FALSE(menuItems.empty());
        EXPECT_EQ(menuItems.back() == save, photo) << menu;
        if (menu == WM_APP + 40) EXPECT_EQ(menuItems[4], copy);
      }
    }
    listCloseWindow_(viewer);
  }
}

// The save dialog as a test answers it: what it was offered, and the file.
struct DialogAnswer {
  std::wstring path, offered, filter;
  HWND owner = nullptr;
  std::wstring message;
} answer;

BOOL WINAPI AnswerDialog(LPOPENFILENAMEW dialog) {
  answer.offered = dialog->lpstrFile;
  answer.owner = dialog->hwndOwner;
  answer.filter = dialog->lpstrFilter;
  wcscpy_s(dialog->lpstrFile, dialog->nMaxFile, answer.path.c_str());
  return TRUE;
}

int WINAPI AnswerMessage(HWND, LPCWSTR text, LPCWSTR, UINT) {
  answer.message = text;
  return IDOK;
}

TEST_F(BeyondTest, SavePhotoWritesTheEmbeddedBytesAsTheyCame) {
  const kontaktel::CardSet cards =
      kontaktel::ParseCards(FromUtf8(ReadFixture("copy-as-vcard.card.txt")));
  const std::vector<uint8_t> photo = cards[0].photoData();
  ASSERT_EQ(photo.size(), 43u);
  const TempFile target("", L".gif");
  answer = DialogAnswer{target.Path()};
  const kontaktel::SavePhotoCalls calls{AnswerDialog, AnswerMessage};
  const HWND viewer = Open(kCards);
  EXPECT_TRUE(kontaktel::SavePhotoAs(viewer, L"Пётр: \"Петров\"?", photo, calls));
  EXPECT_EQ(answer.offered, L"Пётр_ _Петров__.gif");
  EXPECT_EQ(answer.owner, parent_);
  EXPECT_EQ(answer.filter, L"GIF (*.gif)");
  std::ifstream saved(target.Path().c_str(), std::ios::binary);
  EXPECT_EQ(std::vector<uint8_t>(std::istreambuf_iterator<char>(saved), {}), photo);
  EXPECT_EQ(answer.message, L"");
  // A file that cannot be written is told in a message box.
  answer.path = target.Path() + L"\\no-such-folder\\photo.gif";
  EXPECT_FALSE(kontaktel::SavePhotoAs(viewer, L"x", photo, calls));
  EXPECT_TRUE(answer.message.starts_with(L"The photo could not be saved to\n" + answer.path))
      << std::string(answer.message.begin(), answer.message.end());

  // File names: what a file name cannot hold replaced, the type from the bytes.
  struct Named {
    const wchar_t* name;
    std::vector<uint8_t> bytes;
    const wchar_t* file;
  };
  const Named names[] = {
      {L"CON", {0xFF, 0xD8, 0xFF, 0xE0}, L"CON_.jpg"},
      {L" a/b\\c. ", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}, L"a_b_c.png"},
      {L"", {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, L"photo.bmp"},
  };
  for (const Named& n : names) {
    EXPECT_EQ(kontaktel::PhotoFileName(n.name, kontaktel::ImageFormatOf(n.bytes)), n.file);
  }
  EXPECT_EQ(kontaktel::ImageFormatOf({'R', 'I', 'F', 'F'}), kontaktel::ImageFormat::kNone);
}

// The runs of the details text that have a background of their own, each with
// its colour.
std::vector<std::pair<std::wstring, COLORREF>> MarkedRuns(HWND view) {
  std::vector<std::pair<std::wstring, COLORREF>> runs;
  const LONG length = GetWindowTextLengthW(view);
  bool inRun = false;
  for (LONG i = 0; i < length; ++i) {
    CHARRANGE one{i, i + 1};
    SendMessageW(view, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&one));
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    SendMessageW(view, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    const bool marked = (format.dwEffects & CFE_AUTOBACKCOLOR) == 0;
    if (marked) {
      wchar_t c[2] = {};
      TEXTRANGEW range{one, c};
      SendMessageW(view, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
      if (!inRun) runs.push_back({L"", format.crBackColor});
      runs.back().first += c[0];
    }
    inRun = marked;
  }
  return runs;
}

TEST_F(BeyondTest, TheFilterMarksItsWordsInTheValuesInBothPalettes) {
  // "mail" stands in the caption Email too, which stays unmarked.
  constexpr char kMail[] =
      "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Anna Mailer\r\nEMAIL:mail@anna.org\r\n"
      "NOTE:Send MAIL on Mondays\r\nEND:VCARD\r\nBEGIN:VCARD\r\nFN:Boris\r\nEND:VCARD\r\n";
  for (const auto& [flags, color] : {std::pair{0, RGB(255, 222, 112)}, {0x80, RGB(120, 96, 28)}}) {
    file_ = std::make_unique<TempFile>(kMail);
    const HWND viewer = listLoadW_(parent_, file_->Path().c_str(), flags);
    MoveWindow(viewer, 0, 0, 780, 560, TRUE);
    const HWND edit = GetDlgItem(viewer, kFilterEditId), view = GetDlgItem(viewer, 1002);
    SetWindowTextW(edit, L"mail");
    using Runs = std::vector<std::pair<std::wstring, COLORREF>>;
    EXPECT_EQ(MarkedRuns(view), (Runs{{L"Mail", color}, {L"mail", color}, {L"MAIL", color}}));
    // The host's search hit stays selected while the filter changes.
    ASSERT_EQ(listSearchTextW_(viewer, L"Mondays", 1), 0);
    CHARRANGE hit{}, after{};
    SendMessageW(view, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&hit));
    SetWindowTextW(edit, L"ai");
    SendMessageW(view, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&after));
    EXPECT_TRUE(hit.cpMax > hit.cpMin && hit.cpMin == after.cpMin && hit.cpMax == after.cpMax);
    EXPECT_EQ(MarkedRuns(view), (Runs{{L"ai", color}, {L"ai", color}, {L"AI", color}}));
    SetWindowTextW(edit, L"");
    EXPECT_EQ(MarkedRuns(view), Runs{});
    listCloseWindow_(viewer);
  }
}

}  // namespace
