// hsEditAction: the design-time editor of an action, run modally, and the
// hand-back of the edited texts into the host's parameter cells.
#include <windows.h>

#include <string>
#include <vector>

#include "dialogs/window_dpi.h"
#include "editors/editor_controls.h"
#include "editors/editor_frame.h"
#include "editors/editor_layouts.h"
#include "editors/modal_loop.h"
#include "editors/name_list.h"
#include "plugin/catalogue.h"
#include "plugin/catch_all.h"
#include "plugin/entry_points.h"
#include "plugin/host_callbacks.h"
#include "plugin/wide_text.h"

namespace {

// One editor at a time. The window has its own slot here, apart from the
// calendar's, so opening an editor never hides the calendar from its Stop.
struct EditorState {
  bool busy = false;           // an hsEditAction call is building, running or handing back
  HWND window = nullptr;       // the open editor, null while none is on screen
  int boxCount = 0;            // input boxes that "Done" reads
  bool donePressed = false;    // reset at every call, so an old "Done" never hands back
  std::string editedTexts[kMaxParameters];
};
EditorState g_editor;

// Marks the call busy for its whole length, also when it unwinds.
struct BusyGuard {
  BusyGuard() { g_editor.busy = true; }
  ~BusyGuard() {
    if (g_editor.window && IsWindow(g_editor.window)) DestroyWindow(g_editor.window);
    g_editor.window = nullptr;
    g_editor.busy = false;
  }
  BusyGuard(const BusyGuard&) = delete;
  BusyGuard& operator=(const BusyGuard&) = delete;
};

// Installed for the editor window; sees its WM_COMMAND messages. Escape and
// Enter arrive as IDCANCEL and IDOK and are ignored, so only "Done" and the
// Close command end the editor.
LRESULT CALLBACK EditorCallback(HWND editor, UINT message, WPARAM wParam, LPARAM) {
  if (message != WM_COMMAND || LOWORD(wParam) != kDoneButtonId) return 0;
  try {
    for (int k = 0; k < g_editor.boxCount; ++k)
      g_editor.editedTexts[k] = WideToAnsi(ReadWholeText(GetDlgItem(editor, kFirstBoxId + k)));
    g_editor.donePressed = true;
  } catch (...) {  // out of memory: nothing is handed back
    g_editor.donePressed = false;
  }
  EndEditor(editor);
  return 0;
}

// The names the host offers for the calendar's subroutine, up to the first
// blank line; none when the host has not registered its callback.
std::vector<std::string> AskHostForNames() {
  return ItemsBeforeFirstEmpty(SplitAtCrLf(AskHost(kRequestScriptNames)));
}

bool OffersHostNames(const EditorLayout& layout) {
  for (int k = 0; k < layout.rowCount; ++k)
    if (layout.rows[k].items == BoxItems::HostNames) return true;
  return false;
}

void EditParameters(const EditorLayout& layout, char** cells) {
  BusyGuard busy;
  g_editor.donePressed = false;
  g_editor.boxCount = layout.rowCount;

  std::string current[kMaxParameters];
  for (int k = 0; k < layout.rowCount; ++k)
    if (cells && cells[k]) current[k] = cells[k];
  std::vector<std::string> hostNames;
  if (OffersHostNames(layout)) hostNames = AskHostForNames();

  HWND editor = CreateEditorFrame(layout);
  if (!editor) return;
  g_editor.window = editor;
  CreateEditorControls(editor, layout, WindowDpi(editor), current, hostNames);
  RunEditorModally(editor, EditorCallback);
  g_editor.window = nullptr;

  if (!g_editor.donePressed || !cells) return;
  for (int k = 0; k < layout.rowCount; ++k) ReturnStringToHost(&cells[k], g_editor.editedTexts[k]);
}

}  // namespace

uint32_t __stdcall hsEditAction(int32_t id, char** parameters) {
  if (!FindCatalogueEntry(id)) return 0;
  const EditorLayout* layout = FindEditorLayout(id);
  if (!layout) return 1;  // an action without parameters has nothing to edit
  if (g_editor.busy) {
    // One editor at a time: show the author the one that is open.
    if (g_editor.window) SetForegroundWindow(g_editor.window);
    return 1;
  }
  CatchAll([&] { EditParameters(*layout, parameters); });
  return 1;
}
