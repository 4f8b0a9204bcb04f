// The editor window shared by every design-time editor: built from an
// in-memory template, placed with an exact client size, coloured, and ended.
#pragma once
#include <windows.h>

#include "editors/editor_layouts.h"

// Outer top-left corner and client size in pixels.
constexpr int kEditorLeft = 300, kEditorTop = 300;
constexpr int kEditorClientWidth = 340, kEditorClientHeight = 160;
// The template's font is 8-point "MS Sans Serif".
constexpr int kEditorFontPoints = 8;

constexpr COLORREF kEditorBackground = RGB(245, 245, 255);
constexpr COLORREF kLabelTextColor = RGB(5, 5, 5);
constexpr COLORREF kLabelBackground = RGB(245, 245, 255);

// The hidden, titled editor window without controls, or null when the
// system refuses it. It owns its brushes and forgets them when destroyed.
// Its dialog procedure hands WM_COMMAND to the handler installed for it.
HWND CreateEditorFrame(const EditorLayout& layout);

// The font the editor's controls get: the template's, or the one made for
// the DPI that the editor has moved to since.
HFONT EditorFont(HWND editor);

// Closes the editor without handing anything back: WM_CLOSE, then destroy.
void EndEditor(HWND editor);
