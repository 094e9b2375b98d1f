// Window and subclass procedures as tables: one message as a procedure
// receives it, and a table from message to the handler that answers it.
// Messages without a handler get the default answer.
#pragma once

#include <windows.h>
#include <windowsx.h>

#include <cstddef>

namespace kontaktel {

struct Message {
  HWND window;
  UINT id;
  WPARAM wParam;
  LPARAM lParam;
  WNDPROC fallback;  // DefWindowProcW, or DefSubclassProc for a subclassed control

  LRESULT Default() const { return fallback(window, id, wParam, lParam); }
  // The point in lParam (signed 16-bit x and y).
  POINT Point() const { return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }
};

// `Context` is what the procedure hands every handler (a window's state, say).
template <typename Context>
struct MessageHandler {
  UINT id;
  LRESULT (*handle)(const Message&, Context);
};

template <typename Context, size_t N>
LRESULT Dispatch(const MessageHandler<Context> (&table)[N], const Message& message,
                 Context context) {
  for (const MessageHandler<Context>& handler : table) {
    if (handler.id == message.id) return handler.handle(message, context);
  }
  return message.Default();
}

}  // namespace kontaktel
