#include "editors/editor_dpi.h"

#include "dialogs/dialog_font.h"
#include "dialogs/dpi_scale.h"
#include "dialogs/window_dpi.h"
#include "editors/editor_controls.h"
#include "editors/editor_frame.h"
#include "plugin/catch_all.h"

namespace {

constexpr UINT kResizeFlags = SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOCOPYBITS |
                              SWP_NOOWNERZORDER | SWP_NOSENDCHANGING;
// The editor is on screen when its DPI changes: it is redrawn as it moves.
constexpr UINT kRescaleFlags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
// Sent to per-monitor v2 windows before WM_DPICHANGED (Windows 10 1703 and
// later); the headers name it only for newer targets.
constexpr UINT kWM_GETDPISCALEDSIZE = 0x02E4;

// Gives the editor its 340 x 160 client area scaled to dpi, exactly,
// whatever its borders measure, with its outer top-left corner at (left, top).
void PlaceWithScaledClient(HWND editor, int left, int top, int dpi, UINT flags) {
  RECT outer = {}, client = {};
  GetWindowRect(editor, &outer);
  GetClientRect(editor, &client);
  int extraWidth = (outer.right - outer.left) - (client.right - client.left);
  int extraHeight = (outer.bottom - outer.top) - (client.bottom - client.top);
  SetWindowPos(editor, nullptr, left, top, ScaleForDpi(kEditorClientWidth, dpi) + extraWidth,
               ScaleForDpi(kEditorClientHeight, dpi) + extraHeight, flags);
}

// The corner that keeps the outer rectangle inside the work area of the
// monitor it lies mostly on: pulled back from the right and bottom edges as
// far as it fits, never past the left and top ones.
POINT CornerInsideWorkArea(const RECT& outer) {
  POINT corner = {outer.left, outer.top};
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  if (!GetMonitorInfoW(MonitorFromRect(&outer, MONITOR_DEFAULTTONEAREST), &monitor)) return corner;
  const RECT& work = monitor.rcWork;
  if (outer.right > work.right) corner.x -= outer.right - work.right;
  if (outer.bottom > work.bottom) corner.y -= outer.bottom - work.bottom;
  if (corner.x < work.left) corner.x = work.left;
  if (corner.y < work.top) corner.y = work.top;
  return corner;
}

// Moves the editor, at its present size, to corner or as near to it as its
// monitor's work area allows: a scaled editor could cross the edge.
void MoveInsideWorkArea(HWND editor, POINT corner, UINT flags) {
  RECT outer = {};
  GetWindowRect(editor, &outer);
  OffsetRect(&outer, corner.x - outer.left, corner.y - outer.top);
  corner = CornerInsideWorkArea(outer);
  SetWindowPos(editor, nullptr, corner.x, corner.y, 0, 0, flags | SWP_NOSIZE);
}

void KeepInsideWorkArea(HWND editor, UINT flags) {
  RECT outer = {};
  GetWindowRect(editor, &outer);
  MoveInsideWorkArea(editor, {outer.left, outer.top}, flags);
}

// The editor's 8-point font at dpi in the template's face, or the scalable
// dialog face where that one draws taller than asked; so an editor that
// moved to a DPI equals one opened there. Made from the dialog's own font,
// which the library never replaces (its fonts go to the controls): the
// template's face, weight and character set as the dialog manager read them.
// Null if the system refuses it.
HFONT EditorFontForDpi(HWND editor, int dpi) {
  LOGFONTW font = {};
  HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageW(editor, WM_GETFONT, 0, 0));
  if (!dialogFont || !GetObjectW(dialogFont, sizeof(font), &font)) return nullptr;
  font.lfHeight = FontHeightForDpi(kEditorFontPoints, dpi);
  font.lfWidth = 0;
  HFONT made = CreateFontIndirectW(&font);
  if (!made || DrawsAtItsHeight(made)) return made;
  HFONT scalable = CreateScalableCounterpart(made);
  if (!scalable) return made;
  DeleteObject(made);
  return scalable;
}

// The dialog manager makes the template's font for one DPI while the window
// may lie on a monitor of another (a per-monitor-aware host), and even at
// the right height a raster face may draw it taller than asked.
void FitFontToDpi(HWND editor, EditorResources& resources, int dpi) {
  LOGFONTW font = {};
  HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageW(editor, WM_GETFONT, 0, 0));
  if (!GetObjectW(dialogFont, sizeof(font), &font) ||
      (font.lfHeight == FontHeightForDpi(kEditorFontPoints, dpi) && DrawsAtItsHeight(dialogFont)))
    return;
  HFONT fitted = EditorFontForDpi(editor, dpi);
  if (!fitted) return;
  if (resources.scaledFont) DeleteObject(resources.scaledFont);
  resources.scaledFont = fitted;
}

// WM_GETDPISCALEDSIZE (per-monitor v2 hosts): the exact outer size at the new
// DPI, so that the rectangle WM_DPICHANGED suggests is the one the editor
// takes, and it stays under the pointer that drags it.
bool ScaledEditorSize(HWND editor, int dpi, SIZE* size) {
  SIZE frame = {};
  if (!FrameExtraForDpi(editor, dpi, &frame)) return false;
  size->cx = ScaleForDpi(kEditorClientWidth, dpi) + frame.cx;
  size->cy = ScaleForDpi(kEditorClientHeight, dpi) + frame.cy;
  return true;
}

// WM_DPICHANGED: the window takes the system's suggested rectangle, then the
// client size, controls and font of the new DPI. While the user drags it,
// it stays there, under the pointer; otherwise, and when the drag ends, it
// is kept inside the work area of the monitor that it now lies on.
void RescaleEditor(HWND editor, EditorResources& resources, int dpi, const RECT* suggested) {
  HFONT font = EditorFontForDpi(editor, dpi);
  if (!font) return;  // keep the old layout whole rather than half of a new one
  RECT outer = {};
  GetWindowRect(editor, &outer);
  if (suggested) {
    SetWindowPos(editor, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, kRescaleFlags);
    outer = *suggested;
  }
  // The suggested size scales the whole window; the client area is what
  // the layout needs exactly.
  PlaceWithScaledClient(editor, outer.left, outer.top, dpi, kRescaleFlags);
  LayOutEditorControls(editor, *resources.layout, dpi, font);
  // The controls hold the new font now; the one it replaces is free.
  if (resources.scaledFont) DeleteObject(resources.scaledFont);
  resources.scaledFont = font;
  if (resources.moving) resources.rescaledWhileMoving = true;
  else KeepInsideWorkArea(editor, kRescaleFlags);
}

}  // namespace

void PlaceNewEditor(HWND editor, EditorResources* resources) {
  // The template speaks dialog units; the controls are placed in pixels, so
  // the client area is set to exact pixels whatever the border sizes, and
  // scaled to the DPI of the window, as its font is.
  int dpi = WindowDpi(editor);
  if (resources) FitFontToDpi(editor, *resources, dpi);
  PlaceWithScaledClient(editor, kEditorLeft, kEditorTop, dpi, kResizeFlags);
  // At 96 DPI the editor keeps its documented corner. Scaled, the corner
  // moves away from the screen's origin and the larger window could cross
  // the work area's edge.
  if (dpi != kBaseDpi)
    MoveInsideWorkArea(editor, {ScaleForDpi(kEditorLeft, dpi), ScaleForDpi(kEditorTop, dpi)},
                       kResizeFlags);
  // A per-monitor-aware host's editor that the move took to a screen of
  // another DPI has been re-laid on WM_DPICHANGED already: its size is then
  // the new DPI's, which the placement above must not undo, and which must
  // fit the new screen in turn.
  int movedDpi = WindowDpi(editor);
  if (movedDpi != dpi) {
    RECT outer = {};
    GetWindowRect(editor, &outer);
    PlaceWithScaledClient(editor, outer.left, outer.top, movedDpi, kResizeFlags);
    MoveInsideWorkArea(editor, {outer.left, outer.top}, kResizeFlags);
  }
}

bool HandleEditorDpiMessage(HWND editor, EditorResources* resources, UINT message, WPARAM wParam,
                            LPARAM lParam) {
  if (!resources) return false;
  switch (message) {
    case WM_ENTERSIZEMOVE:
      resources->moving = true;
      resources->rescaledWhileMoving = false;
      return false;  // the system's own handling goes on
    case WM_EXITSIZEMOVE:
      resources->moving = false;
      if (resources->rescaledWhileMoving) KeepInsideWorkArea(editor, kRescaleFlags);
      resources->rescaledWhileMoving = false;
      return false;
    case WM_DPICHANGED:
      // A per-monitor-aware host's editor moved to a screen of another DPI;
      // both words of wParam carry it (x and y are always equal).
      if (!resources->layout) return false;
      CatchAll([&] {
        RescaleEditor(editor, *resources, HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
      });
      SetWindowLongPtrW(editor, DWLP_MSGRESULT, 0);
      return true;
    case kWM_GETDPISCALEDSIZE: {
      // wParam is the new DPI; lParam the size to fill in.
      auto* size = reinterpret_cast<SIZE*>(lParam);
      if (!size || !ScaledEditorSize(editor, static_cast<int>(wParam), size)) return false;
      SetWindowLongPtrW(editor, DWLP_MSGRESULT, TRUE);
      return true;
    }
  }
  return false;
}
