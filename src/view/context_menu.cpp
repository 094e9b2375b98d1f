#include "view/context_menu.h"

#include <windowsx.h>

#include <optional>
#include <string>
#include <vector>

#include "config/ui_language.h"
#include "present/card_accessors.h"
#include "present/email.h"
#include "view/card_export.h"
#include "view/clipboard.h"
#include "view/details_text.h"
#include "view/layout.h"
#include "view/theme.h"
#include "win/window_handles.h"

namespace kontaktel {

namespace {

// Module-wide, like the menu loop itself: it also blocks the other viewers.
bool menuOpen = false;

class MenuOpenScope {
 public:
  MenuOpenScope() { menuOpen = true; }
  ~MenuOpenScope() { menuOpen = false; }
  MenuOpenScope(const MenuOpenScope&) = delete;
  MenuOpenScope& operator=(const MenuOpenScope&) = delete;
};

struct MenuItem {
  UINT id;
  const wchar_t* english;
  const wchar_t* russian;
};

constexpr MenuItem kListMenu[] = {
    {kCopyName, L"Copy name", L"Копировать имя"},
    {kCopyPhone, L"Copy phone", L"Копировать телефон"},
    {kCopyEmail, L"Copy email", L"Копировать email"},
    {kCopyCardText, L"Copy card text", L"Копировать карточку"},
    {kCopyAsVCard, L"Copy as vCard", L"Копировать как vCard"},
};

constexpr MenuItem kDetailsMenu[] = {
    {kCopySelection, L"Copy", L"Копировать"},
    {kCopyLineValue, L"Copy line value", L"Копировать строку (значение)"},
    {kCopyAll, L"Copy all", L"Копировать всё"},
};

constexpr wchar_t kSavePhotoEn[] = L"Save photo as\x2026";
constexpr wchar_t kSavePhotoRu[] = L"Сохранить фото как\x2026";

// A menu's items: the fixed ones, then "Save photo as…" when the selected card
// has a photo that can be saved.
template <size_t N>
std::vector<MenuItem> ItemsFor(const ViewerState& state, const MenuItem (&fixed)[N], UINT saveId) {
  std::vector<MenuItem> items(std::begin(fixed), std::end(fixed));
  if (!SavablePhoto(state).empty()) items.push_back({saveId, kSavePhotoEn, kSavePhotoRu});
  return items;
}

// The card commands that do more than copy a text; false for the others.
bool RunCardCommand(HWND window, const ViewerState& state, UINT command) {
  if (command == kCopyAsVCard) {
    CopyCardAsVCard(window, state);
    return true;
  }
  if (command != kSaveListPhoto && command != kSaveDetailsPhoto) return false;
  if (state.filter.selected < state.cards.size()) {
    const std::vector<uint8_t> photo = SavablePhoto(state);
    SavePhotoAs(window, CardDisplayName(state.cards[state.filter.selected]), photo);
  }
  return true;
}

// The list column of the window as the layout places it: its width, the
// filter strip above the rows and the status strip below them.
ViewerLayout ListColumn(HWND window, const ViewerState& state) {
  RECT client{};
  GetClientRect(window, &client);
  LayoutInput input;
  input.clientWidth = client.right - client.left;
  input.clientHeight = client.bottom - client.top;
  input.dpi = WindowDpi(window);
  input.listWidth = state.splitter.listWidth;
  return ComputeLayout(input, [](int) { return 0; });
}

POINT PointFrom(LPARAM lParam) {
  return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

bool HasSelectedCard(const ViewerState& state) {
  return !state.cards.empty() && state.filter.selected < state.cards.size();
}

// What a menu was opened for: a later look at the window must find the same.
struct MenuContext {
  uint64_t cardsStamp;
  uint64_t selected;
};

MenuContext ContextOf(const ViewerState& state) {
  return {state.cardsStamp, state.filter.selected};
}

// The window's state after a menu loop, which dispatches the host's messages:
// none when the window was destroyed, was handed other cards or shows another
// card than when the menu opened.
ViewerState* StateAfterMenu(HWND window, const MenuContext& context) {
  ViewerState* state = ViewerStateOf(window);
  if (state == nullptr || state->cardsStamp != context.cardsStamp) return nullptr;
  if (state->filter.selected != context.selected || !HasSelectedCard(*state)) return nullptr;
  return state;
}

// Builds the menu in the UI language and tracks it; the chosen command, or 0
// when the menu was cancelled or could not be made.
UINT TrackMenu(HWND owner, const std::vector<MenuItem>& items, POINT screen) {
  UniqueMenu menu(CreatePopupMenu());
  if (!menu) return 0;
  const bool russian = UiIsRussian();
  for (const MenuItem& item : items) {
    if (!AppendMenuW(menu.Get(), MF_STRING | MF_ENABLED, item.id,
                     russian ? item.russian : item.english)) {
      return 0;
    }
  }
  return static_cast<UINT>(TrackPopupMenu(menu.Get(), TPM_RETURNCMD | TPM_NONOTIFY, screen.x,
                                          screen.y, 0, owner, nullptr));
}

std::optional<std::wstring> NonEmpty(std::wstring text) {
  if (text.empty()) return std::nullopt;
  return text;
}

std::optional<std::wstring> ListCommandText(const ViewerState& state, UINT command) {
  const Card& card = state.cards[state.filter.selected];
  switch (command) {
    case kCopyName:
      return NonEmpty(CardDisplayName(card));
    case kCopyPhone:
      return NonEmpty(FirstPhone(card));
    case kCopyEmail: {
      std::wstring email = FirstEmail(card);
      return NonEmpty(email.empty() ? FallbackEmail(card) : std::move(email));
    }
    case kCopyCardText: {
      const HWND view = state.details.view.Get();
      if (!IsWindow(view)) return std::nullopt;
      return DetailsWholeText(view);  // an empty view empties the clipboard
    }
    default:
      return std::nullopt;
  }
}

std::optional<std::wstring> DetailsCommandText(HWND view, UINT command) {
  if (!IsWindow(view)) return std::nullopt;
  switch (command) {
    case kCopySelection: {
      std::wstring selected = DetailsSelectedText(view);
      return selected.empty() ? DetailsLineValue(view) : std::move(selected);
    }
    case kCopyLineValue:
      return DetailsLineValue(view);
    case kCopyAll:
      return DetailsWholeText(view);
    default:
      return std::nullopt;
  }
}

void ShowListMenu(HWND window, const ViewerState& state, LPARAM lParam) {
  if (menuOpen || !HasSelectedCard(state)) return;
  const MenuOpenScope open;
  const MenuContext context = ContextOf(state);
  const UINT command =
      TrackMenu(window, ItemsFor(state, kListMenu, kSaveListPhoto), PointFrom(lParam));
  // `state` may be gone now: the menu loop ran the host's messages.
  if (const ViewerState* after = StateAfterMenu(window, context);
      after != nullptr && command != 0 && !RunCardCommand(window, *after, command)) {
    if (const std::optional<std::wstring> text = ListCommandText(*after, command)) {
      CopyTextToClipboard(window, *text);
    }
  }
  if (IsWindow(window)) SetFocus(window);
}

void ShowDetailsMenu(HWND window, const ViewerState& state, LPARAM lParam) {
  if (menuOpen || !IsWindow(state.details.view.Get())) return;
  const MenuOpenScope open;
  const MenuContext context = ContextOf(state);
  const UINT command =
      TrackMenu(window, ItemsFor(state, kDetailsMenu, kSaveDetailsPhoto), PointFrom(lParam));
  // An empty window has no selected card; it still has to hold the same cards.
  ViewerState* after = ViewerStateOf(window);
  const bool same = after != nullptr && after->cardsStamp == context.cardsStamp &&
                    after->filter.selected == context.selected;
  if (same && command != 0 && !RunCardCommand(window, *after, command)) {
    if (const std::optional<std::wstring> text =
            DetailsCommandText(after->details.view.Get(), command)) {
      CopyTextToClipboard(window, *text);
    }
  }
  if (IsWindow(window)) SetFocus(window);
}

void OnRightButtonUp(HWND window, const ViewerState& state, LPARAM lParam) {
  if (menuOpen) return;
  RECT client{};
  GetClientRect(window, &client);
  const ViewerLayout layout = ListColumn(window, state);
  const POINT point = PointFrom(lParam);
  // Only the rows area between the filter strip and the status strip.
  if (point.x < 0 || point.x >= layout.listPaneWidth || point.y < layout.topHeight ||
      point.y >= client.bottom - layout.statusHeight) {
    return;
  }
  POINT screen = point;
  ClientToScreen(window, &screen);
  PostMenuRequest(window, WM_LIST_CONTEXT_MENU, screen);
}

void OnContextKey(HWND window, const ViewerState& state, LPARAM lParam) {
  // Only the keyboard's request (-1 in both halves) opens a menu here.
  if (lParam != -1 && static_cast<DWORD>(lParam) != 0xFFFFFFFFu) return;
  if (menuOpen) return;
  POINT screen{};
  GetCursorPos(&screen);
  POINT client = screen;
  ScreenToClient(window, &client);
  if (client.x < ListColumn(window, state).listPaneWidth) {
    PostMenuRequest(window, WM_LIST_CONTEXT_MENU, screen);
  } else if (IsWindow(state.details.view.Get())) {
    PostMenuRequest(window, WM_DETAILS_CONTEXT_MENU, screen);
  }
}

}  // namespace

bool ContextMenuOpen() {
  return menuOpen;
}

void PostMenuRequest(HWND viewer, UINT message, POINT screen) {
  PostMessageW(viewer, message, 0,
               MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y)));
}

bool OnContextMenuMessage(HWND window, ViewerState& state, UINT message, WPARAM, LPARAM lParam) {
  switch (message) {
    case WM_RBUTTONUP:
      OnRightButtonUp(window, state, lParam);
      return true;
    case WM_CONTEXTMENU:
      OnContextKey(window, state, lParam);
      return true;
    case WM_LIST_CONTEXT_MENU:
      ShowListMenu(window, state, lParam);
      return true;
    case WM_DETAILS_CONTEXT_MENU:
      ShowDetailsMenu(window, state, lParam);
      return true;
    default:
      return false;
  }
}

void OnCopyKey(HWND window, ViewerState& state) {
  const HWND view = state.details.view.Get();
  if ((GetKeyState(VK_SHIFT) & 0x8000) != 0 && GetFocus() != view) {
    CopyCardAsVCard(window, state);
    return;
  }
  if (view != nullptr && GetFocus() == view) {
    const CHARRANGE selection = DetailsSelection(view);
    if (selection.cpMax > selection.cpMin) {
      SendMessageW(view, WM_COPY, 0, 0);
    } else if (const std::wstring value = DetailsLineValue(view); !value.empty()) {
      CopyTextToClipboard(window, value);
    }
    return;
  }
  if (!HasSelectedCard(state)) return;
  if (const std::wstring name = CardDisplayName(state.cards[state.filter.selected]);
      !name.empty()) {
    CopyTextToClipboard(window, name);
  }
}

}  // namespace kontaktel
