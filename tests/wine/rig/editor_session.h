// Running a design-time editor through hsEditAction on the test's thread
// while a drive function works on it from a second thread.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

// A host's parameter array: each cell 0 (for nullptr) or a host block.
struct HostCellArray {
  std::vector<char*> cells;
  explicit HostCellArray(std::initializer_list<const char*> texts);
  ~HostCellArray();
  HostCellArray(const HostCellArray&) = delete;
  HostCellArray& operator=(const HostCellArray&) = delete;
  char** data() { return cells.data(); }
  std::string Text(size_t k) const;
};

struct EditorRun {
  uint32_t result = 0;
  bool found = false;  // an editor window with the expected title appeared
  bool gone = false;   // and was gone when the drive ended
  // hsEditAction came back soon after its editor was gone, without any
  // further message to wake it.
  bool returnedPromptly = false;
};

// Calls hsEditAction(id, cells) and, on a second thread, waits for the
// visible editor titled title, runs drive on it, then waits for it to go.
// An editor still open after the drive is closed from its system menu, and
// a call that does not come back is woken by a posted WM_NULL, so a fault
// fails the test instead of hanging it.
EditorRun RunEditor(int32_t id, char** cells, const wchar_t* title,
                    const std::function<void(HWND editor)>& drive);

// What the author does, from the driver's thread.
void PressDone(HWND editor);
void CloseFromSystemMenu(HWND editor);  // WM_SYSCOMMAND SC_CLOSE, sent
void SetBoxText(HWND editor, int id, const std::wstring& text);
std::wstring BoxText(HWND editor, int id);

// The editor's direct children in creation (tab) order.
std::vector<HWND> ChildrenInOrder(HWND editor);

// A control's rectangle in its editor's client coordinates.
RECT ClientRectOf(HWND control);

// The items of a drop-down box, in list order.
std::vector<std::wstring> ComboItems(HWND box);

// Gives the editor a little time to react to posted input.
void LetEditorRun();
