// An editor on screens of any DPI: its placement when it is made, its font,
// and the per-monitor messages of a host that is DPI-aware.
#pragma once
#include <windows.h>

#include "editors/editor_layouts.h"

// Created once per editor window, deleted with it: the colour messages only
// hand the brushes out, so painting never creates GDI objects.
struct EditorResources {
  HBRUSH label;
  HBRUSH window;
  const EditorLayout* layout;  // for the re-layout when the DPI changes
  HFONT scaledFont;  // the font made for the editor's DPI; null while the template's serves
  bool moving;  // between WM_ENTERSIZEMOVE and WM_EXITSIZEMOVE: the user drags it
  bool rescaledWhileMoving;  // the DPI changed during that drag
};

// Gives a new editor its client area and font for the DPI of its window,
// at its corner scaled alike and inside the work area.
void PlaceNewEditor(HWND editor, EditorResources* resources);

// WM_DPICHANGED, WM_GETDPISCALEDSIZE, WM_ENTERSIZEMOVE and WM_EXITSIZEMOVE.
// True when the dialog procedure is to return TRUE, its result set.
bool HandleEditorDpiMessage(HWND editor, EditorResources* resources, UINT message, WPARAM wParam,
                            LPARAM lParam);
