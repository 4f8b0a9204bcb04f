#include "editors/editor_frame.h"

#include <new>

#include "dialogs/dialog_window.h"
#include "plugin/catch_all.h"

namespace {

// WS_SYSMENU | DS_SETFONT | DS_NOFAILCREATE | DS_3DLOOK: without WS_POPUP
// the system makes it an overlapped window with a caption and a Close box.
constexpr DWORD kEditorStyle = WS_SYSMENU | DS_SETFONT | DS_NOFAILCREATE | DS_3DLOOK;
constexpr WORD kFontPoints = 8;
constexpr char16_t kFontFace[] = u"MS Sans Serif";
// The low four bits of a WM_SYSCOMMAND code are the system's own.
constexpr WPARAM kSysCommandMask = 0xFFF0;
constexpr UINT kResizeFlags = SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOCOPYBITS |
                              SWP_NOOWNERZORDER | SWP_NOSENDCHANGING;

// Created once per editor window, deleted with it: the colour messages only
// hand these out, so painting never creates GDI objects.
struct EditorBrushes {
  HBRUSH label;
  HBRUSH window;
};

EditorBrushes* BrushesOf(HWND editor) {
  return reinterpret_cast<EditorBrushes*>(GetWindowLongPtrW(editor, DWLP_USER));
}

bool IsLabel(HWND control) {
  int id = GetDlgCtrlID(control);
  return id >= kFirstLabelId && id < kFirstLabelId + kMaxParameters;
}

void ReleaseBrushes(HWND editor) {
  EditorBrushes* brushes = BrushesOf(editor);
  if (!brushes) return;
  SetWindowLongPtrW(editor, DWLP_USER, 0);
  DeleteObject(brushes->label);
  DeleteObject(brushes->window);
  delete brushes;
}

INT_PTR CALLBACK EditorDialogProc(HWND editor, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(editor, DWLP_USER,
                        reinterpret_cast<LONG_PTR>(new (std::nothrow) EditorBrushes{
                            CreateSolidBrush(kLabelBackground), CreateSolidBrush(kEditorBackground)}));
      return TRUE;
    case WM_COMMAND:
      if (MessageHandler callback = FindHandler(editor))
        CatchAll([&] { callback(editor, message, wParam, lParam); });
      return FALSE;
    case WM_CTLCOLORSTATIC: {
      EditorBrushes* brushes = BrushesOf(editor);
      if (!brushes || !IsLabel(reinterpret_cast<HWND>(lParam))) return FALSE;
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, kLabelTextColor);
      SetBkColor(dc, kLabelBackground);
      return reinterpret_cast<INT_PTR>(brushes->label);
    }
    case WM_CTLCOLORDLG: {
      EditorBrushes* brushes = BrushesOf(editor);
      if (!brushes) return FALSE;
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
    case WM_NCDESTROY:
      ReleaseBrushes(editor);
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

  // The template speaks dialog units; the controls are placed in pixels, so
  // the client area is set to exact pixels whatever the border sizes.
  RECT outer = {}, client = {};
  GetWindowRect(editor, &outer);
  GetClientRect(editor, &client);
  int extraWidth = (outer.right - outer.left) - (client.right - client.left);
  int extraHeight = (outer.bottom - outer.top) - (client.bottom - client.top);
  SetWindowPos(editor, nullptr, kEditorLeft, kEditorTop, kEditorClientWidth + extraWidth,
               kEditorClientHeight + extraHeight, kResizeFlags);
  SetWindowTextW(editor, layout.title);
  return editor;
}

void EndEditor(HWND editor) {
  SendMessageA(editor, WM_CLOSE, 0, 0);
  DestroyWindow(editor);
}
