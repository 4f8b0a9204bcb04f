#include "dialogs/dialog_window.h"

#include <vector>

#include "plugin/catch_all.h"

namespace {

struct Route {
  HWND window;
  HWND frame;  // the dialog the window belongs to (itself for a dialog)
  MessageHandler handler;
};

// Few windows at a time: a linear table is the simplest correct index.
std::vector<Route> g_routes;

Route* FindRoute(HWND window) {
  if (!window) return nullptr;
  for (Route& route : g_routes)
    if (route.window == window) return &route;
  return nullptr;
}

// The library's windows outlive the calls that make them (the calendar) or
// pump the host's messages (the editors): a host that unloads its plug-ins
// meanwhile would leave their procedures pointing into unmapped code. So
// the module stays loaded for the life of the process once one is made.
void KeepLibraryLoaded() {
  static bool pinned = false;
  if (pinned) return;
  HMODULE module = nullptr;
  pinned = GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                              reinterpret_cast<LPCWSTR>(&KeepLibraryLoaded), &module) != FALSE;
}

}  // namespace

HINSTANCE LibraryInstance() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&LibraryInstance), &module);
  return module;
}

HWND CreateTemplateDialog(const DialogTemplateLayout& layout, HWND parent, DLGPROC proc) {
  std::vector<uint8_t> bytes = BuildDialogTemplate(layout);
  // Room first: a window that exists is always known to the routing.
  g_routes.reserve(g_routes.size() + 1);
  KeepLibraryLoaded();
  HWND dialog = CreateDialogIndirectParamW(LibraryInstance(),
                                           reinterpret_cast<LPCDLGTEMPLATEW>(bytes.data()), parent,
                                           proc ? proc : RoutingDialogProc, 0);
  if (!dialog) return nullptr;
  // A handle value may come back after its first window died unforgotten
  // (a custom proc that never saw WM_NCDESTROY routed): start afresh.
  ForgetDialog(dialog);
  g_routes.push_back({dialog, dialog, nullptr});
  return dialog;
}

void InstallHandler(HWND window, HWND frame, MessageHandler handler) {
  if (!window) return;
  if (Route* route = FindRoute(window)) {
    route->frame = frame;
    route->handler = handler;
  } else {
    g_routes.push_back({window, frame, handler});
  }
}

MessageHandler FindHandler(HWND window) {
  Route* route = FindRoute(window);
  return route ? route->handler : nullptr;
}

bool IsKnownDialog(HWND dialog) {
  Route* route = FindRoute(dialog);
  return route && route->frame == dialog;
}

void ForgetDialog(HWND dialog) {
  if (!dialog) return;
  for (size_t i = g_routes.size(); i-- > 0;)
    if (g_routes[i].window == dialog || g_routes[i].frame == dialog)
      g_routes.erase(g_routes.begin() + i);
}

namespace {

INT_PTR RouteMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCDESTROY) {
    ForgetDialog(dialog);
    return FALSE;
  }
  if (message == WM_NOTIFY && lParam) {
    HWND sender = reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
    Route* route = sender != dialog ? FindRoute(sender) : nullptr;
    // Only a control of this dialog: a stray header must not reach the
    // handler of a control that belongs to another one.
    if (route && route->frame == dialog && route->handler) {
      MessageHandler control = route->handler;  // the table may change during the call
      LRESULT result = control(dialog, message, wParam, lParam);
      if (result) return result;
      // The handler may have destroyed the dialog.
      if (!IsKnownDialog(dialog)) return FALSE;
    }
  }
  if (MessageHandler own = FindHandler(dialog)) return own(dialog, message, wParam, lParam);
  return FALSE;
}

}  // namespace

INT_PTR CALLBACK RoutingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  // The handlers report picks to the host, which allocates.
  return CatchAll<INT_PTR>(FALSE, [&] { return RouteMessage(dialog, message, wParam, lParam); });
}
