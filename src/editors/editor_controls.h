// The labels, input boxes and "Done" button of an editor.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "editors/editor_layouts.h"

// Creates every control of layout in creation order, at its rectangle
// scaled to dpi, each with the editor's font; box k shows currentTexts[k].
// A host-names box offers hostNames.
void CreateEditorControls(HWND editor, const EditorLayout& layout, int dpi,
                          const std::string (&currentTexts)[kMaxParameters],
                          const std::vector<std::string>& hostNames);

// Moves every control of layout to its rectangle scaled to dpi and gives it
// font: the re-layout after the editor's DPI has changed.
void LayOutEditorControls(HWND editor, const EditorLayout& layout, int dpi, HFONT font);

// The whole text of a control, however long.
std::wstring ReadWholeText(HWND control);
