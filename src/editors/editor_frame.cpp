#include "editors/editor_frame.h"

#include <new>

#include "dialogs/dialog_window.h"
#include "dialogs/high_contrast.h"
#include "dialogs/window_dpi.h"
#include "editors/editor_controls.h"
#include "editors/editor_dpi.h"
#include "plugin/catch_all.h"

namespace {

// WS_SYSMENU | DS_SETFONT | DS_NOFAILCREATE | DS_3DLOOK: without WS_POPUP
// the system makes it an overlapped window with a caption and a Close box.
constexpr DWORD kEditorStyle = WS_SYSMENU | DS_SETFONT | DS_NOFAILCREATE | DS_3DLOOK;
constexpr char16_t kFontFace[] = u"MS Sans Serif";
// The low four bits of a WM_SYSCOMMAND code are the system's own.
constexpr WPARAM kSysCommandMask = 0xFFF0;

EditorResources* ResourcesOf(HWND editor) {
  return reinterpret_cast<EditorResources*>(GetWindowLongPtrW(editor, DWLP_USER));
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
  if (HandleEditorDpiMessage(editor, ResourcesOf(editor), message, wParam, lParam)) return TRUE;
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(editor, DWLP_USER,
                        reinterpret_cast<LONG_PTR>(new (std::nothrow) EditorResources{
                            CreateSolidBrush(kLabelBackground), CreateSolidBrush(kEditorBackground),
                            nullptr, nullptr, false, false}));
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
  frame.pointSize = kEditorFontPoints;
  frame.weight = FW_NORMAL;
  frame.italic = FALSE;
  frame.charset = ANSI_CHARSET;
  frame.face = kFontFace;
  HWND editor = CreateTemplateDialog(frame, nullptr, EditorDialogProc);
  if (!editor) return nullptr;
  KeepDialogManagerFromRescaling(editor);
  EditorResources* resources = ResourcesOf(editor);
  if (resources) resources->layout = &layout;

  PlaceNewEditor(editor, resources);
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
