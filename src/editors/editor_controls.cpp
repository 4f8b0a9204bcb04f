#include "editors/editor_controls.h"

#include "dialogs/dialog_window.h"
#include "editors/editor_frame.h"
#include "plugin/wide_text.h"

namespace {

constexpr DWORD kLabelStyle = WS_CHILD | WS_VISIBLE | SS_LEFT;
constexpr DWORD kTextBoxStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
constexpr DWORD kTextBoxExStyle = WS_EX_CLIENTEDGE;
constexpr DWORD kDropDownStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWN | CBS_SORT;
constexpr DWORD kDoneStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;

HWND CreateControl(HWND editor, DWORD exStyle, const wchar_t* className, const wchar_t* text,
                   DWORD style, const PixelRect& table, int dpi, int id) {
  PixelRect at = ScaledRect(table, dpi);
  HWND control = CreateWindowExW(exStyle, className, text, style, at.x, at.y, at.width, at.height,
                                 editor, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 LibraryInstance(), nullptr);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(EditorFont(editor)), TRUE);
  return control;
}

void AddItem(HWND box, const wchar_t* item) {
  SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
}

void AddItems(HWND box, BoxItems items, const std::vector<std::string>& hostNames) {
  switch (items) {
    case BoxItems::None: break;
    case BoxItems::DateStyles:
      for (const wchar_t* style : kDateStyles) AddItem(box, style);
      break;
    case BoxItems::HostNames:
      for (const std::string& name : hostNames) AddItem(box, AnsiToWide(name).c_str());
      break;
  }
}

// Positions and sizes change together, nothing else: no activation, no
// change in the tab (z) order, which is the creation order.
constexpr UINT kMoveFlags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;

void MoveControl(HWND editor, int id, const PixelRect& table, int dpi, HFONT font) {
  HWND control = GetDlgItem(editor, id);
  if (!control) return;
  // The font first: a drop-down box fits its edit field to the font, and
  // the size set next, which includes the list, is then kept.
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  PixelRect at = ScaledRect(table, dpi);
  SetWindowPos(control, nullptr, at.x, at.y, at.width, at.height, kMoveFlags);
}

}  // namespace

void CreateEditorControls(HWND editor, const EditorLayout& layout, int dpi,
                          const std::string (&currentTexts)[kMaxParameters],
                          const std::vector<std::string>& hostNames) {
  for (int k = 0; k < layout.rowCount; ++k) {
    const EditorRow& row = layout.rows[k];
    CreateControl(editor, 0, L"STATIC", row.caption, kLabelStyle, row.label, dpi,
                  kFirstLabelId + k);
    HWND box = row.kind == BoxKind::DropDownBox
                   ? CreateControl(editor, 0, L"COMBOBOX", L"", kDropDownStyle, row.box, dpi,
                                   kFirstBoxId + k)
                   : CreateControl(editor, kTextBoxExStyle, L"EDIT", L"", kTextBoxStyle, row.box,
                                   dpi, kFirstBoxId + k);
    AddItems(box, row.items, hostNames);
    // The current text goes into the edit field; no item is selected.
    SetWindowTextW(box, AnsiToWide(currentTexts[k]).c_str());
  }
  CreateControl(editor, 0, L"BUTTON", L"Done", kDoneStyle, layout.done, dpi, kDoneButtonId);
}

void LayOutEditorControls(HWND editor, const EditorLayout& layout, int dpi, HFONT font) {
  for (int k = 0; k < layout.rowCount; ++k) {
    MoveControl(editor, kFirstLabelId + k, layout.rows[k].label, dpi, font);
    MoveControl(editor, kFirstBoxId + k, layout.rows[k].box, dpi, font);
  }
  MoveControl(editor, kDoneButtonId, layout.done, dpi, font);
  RedrawWindow(editor, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

std::wstring ReadWholeText(HWND control) {
  int length = GetWindowTextLengthW(control);
  if (length <= 0) return std::wstring();
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  int got = GetWindowTextW(control, &text[0], length + 1);
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return text;
}
