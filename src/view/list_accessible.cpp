#include "view/list_accessible.h"

#include <ole2.h>
#include <oleacc.h>

#include <algorithm>
#include <atomic>
#include <optional>
#include <string>
#include <vector>

#include "config/ui_language.h"
#include "present/card_accessors.h"
#include "present/card_match.h"
#include "view/status_line.h"
#include "view/contact_list.h"
#include "view/theme.h"
#include "view/viewer_state.h"

// IAccessible's IID is taken with __uuidof throughout: oleacc's import library
// gives IID_IAccessible the address of a code thunk, not the GUID.

namespace kontaktel {

namespace {

// What a child id names: a shown card (ids 1 to n, in list order), one of the
// child windows after them, or the list itself.
struct Child {
  enum Kind { kSelf, kCard, kWindow } kind = kSelf;
  size_t row = 0;  // the card's place in the visible list
  HWND window = nullptr;
};

BSTR Text(const std::wstring& text) {
  return SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

HRESULT Answer(BSTR* out, const std::wstring& text) {
  if (out == nullptr) return E_POINTER;
  *out = text.empty() ? nullptr : Text(text);
  return *out == nullptr ? S_FALSE : S_OK;
}

}  // namespace

class ListAccessible final : public IAccessible, public IOleWindow {
 public:
  explicit ListAccessible(ViewerState& state) : state_(&state), window_(state.window) {}

  void Disconnect() { state_ = nullptr; }

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IAccessible)) {
      *out = static_cast<IAccessible*>(this);
    } else if (iid == IID_IOleWindow) {
      *out = static_cast<IOleWindow*>(this);
    } else {
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
  STDMETHODIMP_(ULONG) Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  // IDispatch: readers call IAccessible directly.
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                      UINT*) override {
    return E_NOTIMPL;
  }

  // IOleWindow: WindowFromAccessibleObject finds the viewer through it.
  STDMETHODIMP GetWindow(HWND* window) override {
    if (window == nullptr) return E_POINTER;
    *window = state_ != nullptr ? window_ : nullptr;
    return state_ != nullptr ? S_OK : CO_E_OBJNOTCONNECTED;
  }
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // IAccessible
  STDMETHODIMP get_accParent(IDispatch** parent) override {
    return Guard([&]() -> HRESULT {
      if (parent == nullptr) return E_POINTER;
      *parent = nullptr;
      if (FAILED(AccessibleObjectFromWindow(window_, static_cast<DWORD>(OBJID_WINDOW),
                                            IID_IDispatch, reinterpret_cast<void**>(parent))))
        return S_FALSE;
      return S_OK;
    });
  }

  STDMETHODIMP get_accChildCount(long* count) override {
    return Guard([&]() -> HRESULT {
      if (count == nullptr) return E_POINTER;
      *count = static_cast<long>(Rows() + ChildWindows().size());
      return S_OK;
    });
  }

  STDMETHODIMP get_accChild(VARIANT id, IDispatch** child) override {
    return Guard([&]() -> HRESULT {
      if (child == nullptr) return E_POINTER;
      *child = nullptr;
      const std::optional<Child> which = Resolve(id);
      if (!which) return E_INVALIDARG;
      if (which->kind != Child::kWindow) return S_FALSE;  // cards are simple elements
      return WindowObject(which->window, child);
    });
  }

  STDMETHODIMP get_accName(VARIANT id, BSTR* name) override {
    return Guard([&]() -> HRESULT {
      const std::optional<Child> which = Resolve(id);
      if (!which) return E_INVALIDARG;
      switch (which->kind) {
        case Child::kSelf:
          return Answer(name, UiIsRussian() ? L"Контакты" : L"Contacts");
        case Child::kCard: {
          std::wstring text = CardDisplayName(CardAt(which->row));
          if (text.empty()) text = UiIsRussian() ? L"(пустая карточка)" : L"(empty card)";
          return Answer(name, text);
        }
        case Child::kWindow:
          return Delegate(which->window, [&](IAccessible* object, VARIANT self) {
            return object->get_accName(self, name);
          });
      }
      return E_INVALIDARG;
    });
  }

  STDMETHODIMP get_accValue(VARIANT id, BSTR* value) override {
    return Guard([&]() -> HRESULT {
      const std::optional<Child> which = Resolve(id);
      if (!which) return E_INVALIDARG;
      if (which->kind == Child::kWindow) {
        return Delegate(which->window, [&](IAccessible* object, VARIANT self) {
          return object->get_accValue(self, value);
        });
      }
      if (which->kind == Child::kSelf) return Answer(value, {});
      return Answer(value, ListRowDetail(CardAt(which->row), UiIsRussian()));
    });
  }

  STDMETHODIMP get_accDescription(VARIANT id, BSTR* description) override {
    return Guard([&]() -> HRESULT {
      const std::optional<Child> which = Resolve(id);
      if (!which) return E_INVALIDARG;
      switch (which->kind) {
        case Child::kSelf:
          // The status line: how many cards are shown and which one is
          // selected, or how far the file has been read.
          return Answer(description, ViewerStatusText(*state_));
        case Child::kCard:
          return Answer(description, ListRowDetail(CardAt(which->row), UiIsRussian()));
        case Child::kWindow:
          return Delegate(which->window, [&](IAccessible* object, VARIANT self) {
            return object->get_accDescription(self, description);
          });
      }
      return E_INVALIDARG;
    });
  }

  STDMETHODIMP get_accRole(VARIANT id, VARIANT* role) override {
    return Guard([&]() -> HRESULT {
      if (role == nullptr) return E_POINTER;
      VariantInit(role);
      const std::optional<Child> which = Resolve(id);
      if (!which) return E_INVALIDARG;
      if (which->kind == Child::kWindow) {
        return Delegate(which->window, [&](IAccessible* object, VARIANT self) {
          return object->get_accRole(self, role);
        });
      }
      role->vt = VT_I4;
      role->lVal = which->kind == Child::kSelf ? ROLE_SYSTEM_LIST : ROLE_SYSTEM_LISTITEM;
      return S_OK;
    });
  }

  STDMETHODIMP get_accState(VARIANT id, VARIANT* state) override {
    return Guard([&]() -> HRESULT {
      if (state == nullptr) return E_POINTER;
      VariantInit(state);
      const std::optional<Child> which = Resolve(id);
      if (!which) return E_INVALIDARG;
      if (which->kind == Child::kWindow) {
        return Delegate(which->window, [&](IAccessible* object, VARIANT self) {
          return object->get_accState(self, state);
        });
      }
      const bool focused = GetFocus() == window_;
      long flags = STATE_SYSTEM_FOCUSABLE;
      if (which->kind == Child::kSelf) {
        if (focused) flags |= STATE_SYSTEM_FOCUSED;
        if (!IsWindowVisible(window_)) flags |= STATE_SYSTEM_INVISIBLE;
      } else {
        flags |= STATE_SYSTEM_SELECTABLE;
        if (static_cast<int32_t>(which->row) == SelectedRow(state_->filter)) {
          flags |= STATE_SYSTEM_SELECTED;
          if (focused) flags |= STATE_SYSTEM_FOCUSED;
        }
        if (!OnPage(which->row)) flags |= STATE_SYSTEM_OFFSCREEN;
      }
      state->vt = VT_I4;
      state->lVal = flags;
      return S_OK;
    });
  }

  STDMETHODIMP get_accHelp(VARIANT id, BSTR* help) override {
    return Guard([&]() -> HRESULT { return Resolve(id) ? Answer(help, {}) : E_INVALIDARG; });
  }
  STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
    if (file != nullptr) *file = nullptr;
    if (topic != nullptr) *topic = 0;
    return state_ != nullptr ? S_FALSE : CO_E_OBJNOTCONNECTED;
  }
  STDMETHODIMP get_accKeyboardShortcut(VARIANT id, BSTR* shortcut) override {
    return Guard([&]() -> HRESULT { return Resolve(id) ? Answer(shortcut, {}) : E_INVALIDARG; });
  }

  STDMETHODIMP get_accFocus(VARIANT* focus) override {
    return Guard([&]() -> HRESULT {
      if (focus == nullptr) return E_POINTER;
      VariantInit(focus);
      const HWND focused = GetFocus();
      if (focused == window_) {
        const int32_t row = SelectedRow(state_->filter);
        focus->vt = VT_I4;
        focus->lVal = row >= 0 ? row + 1 : CHILDID_SELF;
        return S_OK;
      }
      for (const HWND child : ChildWindows()) {
        if (child == focused) return AsDispatch(child, focus);
      }
      return S_FALSE;
    });
  }

  STDMETHODIMP get_accSelection(VARIANT* selection) override {
    return Guard([&]() -> HRESULT {
      if (selection == nullptr) return E_POINTER;
      VariantInit(selection);
      const int32_t row = SelectedRow(state_->filter);
      if (row < 0) return S_FALSE;
      selection->vt = VT_I4;
      selection->lVal = row + 1;
      return S_OK;
    });
  }

  STDMETHODIMP get_accDefaultAction(VARIANT id, BSTR* action) override {
    return Guard([&]() -> HRESULT {
      const std::optional<Child> which = Resolve(id);
      if (!which) return E_INVALIDARG;
      if (which->kind != Child::kCard) return Answer(action, {});
      return Answer(action, UiIsRussian() ? L"Выбрать" : L"Select");
    });
  }

  STDMETHODIMP accSelect(long flags, VARIANT id) override {
    return Guard([&]() -> HRESULT {
      const std::optional<Child> which = Resolve(id);
      if (!which || which->kind != Child::kCard) return E_INVALIDARG;
      if (flags & SELFLAG_TAKEFOCUS) SetFocus(window_);
      if (flags & (SELFLAG_TAKESELECTION | SELFLAG_ADDSELECTION | SELFLAG_TAKEFOCUS))
        Select(which->row);
      return S_OK;
    });
  }

  STDMETHODIMP accLocation(long* left, long* top, long* width, long* height, VARIANT id) override {
    return Guard([&]() -> HRESULT {
      if (left == nullptr || top == nullptr || width == nullptr || height == nullptr)
        return E_POINTER;
      *left = *top = *width = *height = 0;
      const std::optional<Child> which = Resolve(id);
      if (!which) return E_INVALIDARG;
      RECT rect{};
      if (which->kind == Child::kWindow) {
        GetWindowRect(which->window, &rect);
      } else {
        if (which->kind == Child::kSelf) {
          GetClientRect(window_, &rect);
        } else {
          rect = RowRect(which->row);
        }
        MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&rect), 2);
      }
      *left = rect.left;
      *top = rect.top;
      *width = rect.right - rect.left;
      *height = rect.bottom - rect.top;
      return S_OK;
    });
  }

  STDMETHODIMP accNavigate(long direction, VARIANT start, VARIANT* end) override {
    return Guard([&]() -> HRESULT {
      if (end == nullptr) return E_POINTER;
      VariantInit(end);
      const std::optional<Child> from = Resolve(start);
      if (!from) return E_INVALIDARG;
      const long count = static_cast<long>(Rows() + ChildWindows().size());
      long to = 0;
      if (from->kind == Child::kSelf) {
        if (direction == NAVDIR_FIRSTCHILD) to = 1;
        if (direction == NAVDIR_LASTCHILD) to = count;
      } else {
        const long at = start.lVal;
        if (direction == NAVDIR_NEXT || direction == NAVDIR_DOWN) to = at + 1;
        if (direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP) to = at - 1;
      }
      if (to < 1 || to > count) return S_FALSE;
      VARIANT target{};
      target.vt = VT_I4;
      target.lVal = to;
      const std::optional<Child> found = Resolve(target);
      if (found && found->kind == Child::kWindow) return AsDispatch(found->window, end);
      *end = target;
      return S_OK;
    });
  }

  STDMETHODIMP accHitTest(long x, long y, VARIANT* hit) override {
    return Guard([&]() -> HRESULT {
      if (hit == nullptr) return E_POINTER;
      VariantInit(hit);
      const POINT screen{x, y};
      for (const HWND child : ChildWindows()) {
        RECT rect{};
        if (IsWindowVisible(child) && GetWindowRect(child, &rect) && PtInRect(&rect, screen))
          return AsDispatch(child, hit);
      }
      POINT client = screen;
      ScreenToClient(window_, &client);
      RECT area{};
      GetClientRect(window_, &area);
      if (!PtInRect(&area, client)) return S_FALSE;
      hit->vt = VT_I4;
      hit->lVal = CHILDID_SELF;
      if (const std::optional<uint64_t> card = ListCardAt(*state_, client)) {
        const auto& rows = state_->filter.visibleIndices;
        const auto at = std::lower_bound(rows.begin(), rows.end(), *card);
        if (at != rows.end() && *at == *card) hit->lVal = static_cast<long>(at - rows.begin()) + 1;
      }
      return S_OK;
    });
  }

  STDMETHODIMP accDoDefaultAction(VARIANT id) override {
    return Guard([&]() -> HRESULT {
      const std::optional<Child> which = Resolve(id);
      if (!which || which->kind != Child::kCard) return DISP_E_MEMBERNOTFOUND;
      Select(which->row);
      return S_OK;
    });
  }

  STDMETHODIMP put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  STDMETHODIMP put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 private:
  ~ListAccessible() = default;

  // Every answer runs here: nothing of the window is touched once it is gone,
  // and no exception reaches the reader.
  template <typename Body>
  HRESULT Guard(Body&& body) {
    if (state_ == nullptr || !IsWindow(window_)) return CO_E_OBJNOTCONNECTED;
    try {
      return body();
    } catch (...) {
      return E_FAIL;
    }
  }

  size_t Rows() const { return state_->filter.visibleIndices.size(); }

  Card CardAt(size_t row) const {
    return state_->cards[static_cast<size_t>(state_->filter.visibleIndices[row])];
  }

  // The child windows a reader reaches through the list, in reading order.
  std::vector<HWND> ChildWindows() const {
    std::vector<HWND> windows;
    for (const HWND child : {state_->list.filterEdit.Get(), state_->list.photoOnlyCheck.Get(),
                             state_->details.view.Get()}) {
      if (IsWindow(child)) windows.push_back(child);
    }
    return windows;
  }

  std::optional<Child> Resolve(const VARIANT& id) const {
    if (id.vt != VT_I4) return std::nullopt;
    if (id.lVal == CHILDID_SELF) return Child{};
    if (id.lVal < 0) return std::nullopt;
    const size_t index = static_cast<size_t>(id.lVal) - 1;
    if (index < Rows()) {
      if (state_->filter.visibleIndices[index] >= state_->cards.size()) return std::nullopt;
      return Child{Child::kCard, index, nullptr};
    }
    const std::vector<HWND> windows = ChildWindows();
    if (index - Rows() < windows.size()) return Child{Child::kWindow, 0, windows[index - Rows()]};
    return std::nullopt;
  }

  bool OnPage(size_t row) const {
    const int64_t top = state_->list.topRow;
    const int64_t at = static_cast<int64_t>(row);
    return at >= top && at < top + std::max(1, state_->list.rowsPerPage);
  }

  // The row's band as the list paints it (client coordinates); rows off the
  // page lie where they would be drawn above or below it.
  RECT RowRect(size_t row) const {
    const int dpi = WindowDpi(window_);
    const RECT area = ListRowsArea(*state_);
    const int width = area.right - area.left;
    const int scrollWidth = GetSystemMetrics(SM_CXVSCROLL);
    const int rowWidth = width - scrollWidth < ScaleLength(120, dpi) ? width : width - scrollWidth;
    const int rowHeight =
        state_->list.rowHeight > 0 ? state_->list.rowHeight : ScaleLength(60, dpi);
    const int pad = ScaleLength(8, dpi);
    const long top =
        area.top + pad +
        (static_cast<long>(row) - state_->list.topRow) * static_cast<long>(rowHeight);
    return RECT{area.left + pad, top, area.left - pad + rowWidth,
                top + rowHeight - ScaleLength(2, dpi)};
  }

  void Select(size_t row) {
    SelectCard(*state_, static_cast<size_t>(state_->filter.visibleIndices[row]));
    NotifySelectionMoved(*state_);
  }

  static HRESULT WindowObject(HWND window, IDispatch** out) {
    const HRESULT result = AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_WINDOW),
                                                      IID_IDispatch, reinterpret_cast<void**>(out));
    return SUCCEEDED(result) && *out != nullptr ? S_OK : S_FALSE;
  }

  static HRESULT AsDispatch(HWND window, VARIANT* out) {
    IDispatch* object = nullptr;
    if (WindowObject(window, &object) != S_OK) return S_FALSE;
    out->vt = VT_DISPATCH;
    out->pdispVal = object;
    return S_OK;
  }

  // Asks the child window's own object, as the system's list would.
  template <typename Ask>
  static HRESULT Delegate(HWND window, Ask&& ask) {
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_WINDOW),
                                          __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object))) ||
        object == nullptr) {
      return S_FALSE;
    }
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    const HRESULT result = ask(object, self);
    object->Release();
    return result;
  }

  ViewerState* state_;  // null once the window is gone
  HWND window_;
  std::atomic<ULONG> references_{1};
};

void AccessibleLink::Disconnect() {
  if (object_ == nullptr) return;
  object_->Disconnect();
  object_->Release();
  object_ = nullptr;
}

LRESULT OnGetObject(ViewerState& state, WPARAM wParam, LPARAM lParam) {
  if (static_cast<LONG>(lParam) != static_cast<LONG>(OBJID_CLIENT)) return 0;
  AccessibleLink& link = state.accessible;
  if (link.object_ == nullptr) link.object_ = new ListAccessible(state);
  const LRESULT result =
      LresultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(link.object_));
  // A failure (COM not started on this thread) leaves the window to the system.
  return result < 0 ? 0 : result;
}

void NotifySelectionMoved(const ViewerState& state) {
  if (GetFocus() != state.window) return;
  const int32_t row = SelectedRow(state.filter);
  if (row < 0) return;
  NotifyWinEvent(EVENT_OBJECT_FOCUS, state.window, OBJID_CLIENT, row + 1);
  NotifyWinEvent(EVENT_OBJECT_SELECTION, state.window, OBJID_CLIENT, row + 1);
}

void NotifyListChanged(const ViewerState& state) {
  NotifyWinEvent(EVENT_OBJECT_REORDER, state.window, OBJID_CLIENT, CHILDID_SELF);
}

}  // namespace kontaktel
