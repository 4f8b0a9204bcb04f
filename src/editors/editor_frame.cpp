#include "editors/editor_frame.h"

#include <new>

#include "dialogs/dialog_window.h"
#include "dialogs/dpi_scale.h"
#include "dialogs/high_contrast.h"
#include "dialogs/window_dpi.h"
#include "editors/editor_controls.h"
#include "plugin/catch_all.h"

namespace {

// WS_SYSMENU | DS_SETFONT | DS_NOFAILCREATE | DS_3DLOOK: without WS_POPUP
// the system makes it an overlapped window with a caption and a Close box.
constexpr DWORD kEditorStyle = WS_SYSMENU | DS_SETFONT | DS_NOFAILCREATE | DS_3DLOOK;
constexpr WORD kFontPoints = 8;
constexpr char16_t kFontFace[] = u"MS Sans Serif";
// Windows maps it to a TrueType face of the user's language.
constexpr wchar_t kScalableFace[] = L"MS Shell Dlg";
// The low four bits of a WM_SYSCOMMAND code are the system's own.
constexpr WPARAM kSysCommandMask = 0xFFF0;
constexpr UINT kResizeFlags = SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOCOPYBITS |
                              SWP_NOOWNERZORDER | SWP_NOSENDCHANGING;
// The editor is on screen when its DPI changes: it is redrawn as it moves.
constexpr UINT kRescaleFlags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
// Sent to per-monitor v2 windows before WM_DPICHANGED (Windows 10 1703 and
// later); the headers name it only for newer targets.
constexpr UINT kWM_GETDPISCALEDSIZE = 0x02E4;

// Created once per editor window, deleted with it: the colour messages only
// hand the brushes out, so painting never creates GDI objects.
struct EditorResources {
  HBRUSH label;
  HBRUSH window;
  const EditorLayout* layout;  // for the re-layout when the DPI changes
  HFONT scaledFont;  // the font made for a changed DPI; null while the template's serves
};

EditorResources* ResourcesOf(HWND editor) {
  return reinterpret_cast<EditorResources*>(GetWindowLongPtrW(editor, DWLP_USER));
}

// Gives the editor its 340 x 160 client area scaled to dpi, exactly,
// whatever its borders measure, with its outer top-left corner at (left, top).
void PlaceWithScaledClient(HWND editor, int left, int top, int dpi, UINT flags = kResizeFlags) {
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

// Whether the font draws characters no taller than asked. A raster face
// (MS Sans Serif is one) comes in the sizes of the set installed for the
// system's DPI only: on a 192 DPI system its smallest is 16 pixels, and an
// 11-pixel request for a 96 DPI monitor gets that, too wide for the labels.
bool HonoursHeight(HFONT font, LONG height) {
  // A DC of its own rather than the screen's: borrowing that one can grow
  // the system's cache of them.
  HDC screen = CreateCompatibleDC(nullptr);
  if (!screen) return true;
  HGDIOBJ old = SelectObject(screen, font);
  TEXTMETRICW metrics = {};
  bool known = GetTextMetricsW(screen, &metrics);
  SelectObject(screen, old);
  DeleteDC(screen);
  return !known || metrics.tmHeight - metrics.tmInternalLeading <= (height < 0 ? -height : height);
}

// The editor's 8-point font at dpi, made from the font it shows now so that
// face, weight and character set stay; where that face cannot be made so
// small, the system's scalable dialog face. Null if the system refuses it.
HFONT EditorFontForDpi(HWND editor, int dpi) {
  LOGFONTW font = {};
  HFONT current = EditorFont(editor);
  if (!current || !GetObjectW(current, sizeof(font), &font)) return nullptr;
  font.lfHeight = FontHeightForDpi(kFontPoints, dpi);
  font.lfWidth = 0;
  HFONT made = CreateFontIndirectW(&font);
  if (!made || HonoursHeight(made, font.lfHeight)) return made;
  lstrcpynW(font.lfFaceName, kScalableFace, LF_FACESIZE);
  HFONT scalable = CreateFontIndirectW(&font);
  if (!scalable) return made;
  DeleteObject(made);
  return scalable;
}

// The dialog manager of a per-monitor-aware host sizes the template's font
// for one DPI while the window may lie on a monitor of another: the font of
// the window's own DPI is made then, for the controls to get.
void MatchFontToDpi(HWND editor, EditorResources& resources, int dpi) {
  LOGFONTW font = {};
  if (!GetObjectW(EditorFont(editor), sizeof(font), &font) ||
      font.lfHeight == FontHeightForDpi(kFontPoints, dpi))
    return;
  HFONT scaled = EditorFontForDpi(editor, dpi);
  if (!scaled) return;
  if (resources.scaledFont) DeleteObject(resources.scaledFont);
  resources.scaledFont = scaled;
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
// client size, controls and font of the new DPI, and stays inside the work
// area of the monitor that it now lies on.
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
  GetWindowRect(editor, &outer);
  MoveInsideWorkArea(editor, {outer.left, outer.top}, kRescaleFlags);
}

bool IsLabel(HWND control) {
  int id = GetDlgCtrlID(control);
  return id >= kFirstLabelId && id < kFirstLabelId + kMaxParameters;
}

// At WM_NCDESTROY, when the controls that used the font are gone.
void ReleaseResources(HWND editor) {
  EditorResources* resources = ResourcesOf(editor);
  if (!resources) return;
  SetWindowLongPtrW(editor, DWLP_USER, 0);
  DeleteObject(resources->label);
  DeleteObject(resources->window);
  if (resources->scaledFont) DeleteObject(resources->scaledFont);
  delete resources;
}

INT_PTR CALLBACK EditorDialogProc(HWND editor, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(editor, DWLP_USER,
                        reinterpret_cast<LONG_PTR>(new (std::nothrow) EditorResources{
                            CreateSolidBrush(kLabelBackground), CreateSolidBrush(kEditorBackground),
                            nullptr, nullptr}));
      return TRUE;
    case WM_COMMAND:
      if (MessageHandler callback = FindHandler(editor))
        CatchAll([&] { callback(editor, message, wParam, lParam); });
      return FALSE;
    case WM_CTLCOLORSTATIC: {
      // Under High Contrast the labels and the window take the system's
      // colours, which the dialog manager gives when the message is declined.
      EditorResources* brushes = ResourcesOf(editor);
      if (!brushes || !IsLabel(reinterpret_cast<HWND>(lParam)) || HighContrastOn()) return FALSE;
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, kLabelTextColor);
      SetBkColor(dc, kLabelBackground);
      return reinterpret_cast<INT_PTR>(brushes->label);
    }
    case WM_CTLCOLORDLG: {
      EditorResources* brushes = ResourcesOf(editor);
      if (!brushes || HighContrastOn()) return FALSE;
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
      SetBkColor(dc, kEditorBackground);
      return reinterpret_cast<INT_PTR>(brushes->window);
    }
    case WM_SYSCOMMAND:
      // Close box, system menu and Alt+F4 leave the parameters as they were.
      if ((wParam & kSysCommandMask) != SC_CLOSE) return FALSE;
      EndEditor(editor);
      return TRUE;
    case WM_DPICHANGED: {
      // A per-monitor-aware host's editor moved to a screen of another DPI;
      // both words of wParam carry it (x and y are always equal).
      EditorResources* resources = ResourcesOf(editor);
      if (!resources || !resources->layout) return FALSE;
      CatchAll([&] {
        RescaleEditor(editor, *resources, HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
      });
      SetWindowLongPtrW(editor, DWLP_MSGRESULT, 0);
      return TRUE;
    }
    case kWM_GETDPISCALEDSIZE: {
      // wParam is the new DPI; lParam the size to fill in.
      auto* size = reinterpret_cast<SIZE*>(lParam);
      if (!size || !ScaledEditorSize(editor, static_cast<int>(wParam), size)) return FALSE;
      SetWindowLongPtrW(editor, DWLP_MSGRESULT, TRUE);
      return TRUE;
    }
    case WM_NCDESTROY:
      ReleaseResources(editor);
      ForgetDialog(editor);
      return FALSE;
  }
  return FALSE;  // edits, lists and the button keep the system colours
}

}  // namespace

HWND CreateEditorFrame(const EditorLayout& layout) {
  DialogTemplateLayout frame = {};
  frame.style = kEditorStyle;
  frame.exStyle = layout.exStyle;
  frame.x = kEditorLeft;
  frame.y = kEditorTop;
  frame.cx = kEditorClientWidth;
  frame.cy = kEditorClientHeight;
  frame.pointSize = kFontPoints;
  frame.weight = FW_NORMAL;
  frame.italic = FALSE;
  frame.charset = ANSI_CHARSET;
  frame.face = kFontFace;
  HWND editor = CreateTemplateDialog(frame, nullptr, EditorDialogProc);
  if (!editor) return nullptr;
  KeepDialogManagerFromRescaling(editor);
  EditorResources* resources = ResourcesOf(editor);
  if (resources) resources->layout = &layout;

  // The template speaks dialog units; the controls are placed in pixels, so
  // the client area is set to exact pixels whatever the border sizes, and
  // scaled to the DPI of the window, as its font is.
  int dpi = WindowDpi(editor);
  if (resources) MatchFontToDpi(editor, *resources, dpi);
  PlaceWithScaledClient(editor, kEditorLeft, kEditorTop, dpi);
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
    PlaceWithScaledClient(editor, outer.left, outer.top, movedDpi);
    MoveInsideWorkArea(editor, {outer.left, outer.top}, kResizeFlags);
  }
  SetWindowTextW(editor, layout.title);
  return editor;
}

HFONT EditorFont(HWND editor) {
  EditorResources* resources = ResourcesOf(editor);
  if (resources && resources->scaledFont) return resources->scaledFont;
  return reinterpret_cast<HFONT>(SendMessageW(editor, WM_GETFONT, 0, 0));
}

void EndEditor(HWND editor) {
  SendMessageA(editor, WM_CLOSE, 0, 0);
  DestroyWindow(editor);
}
