#include "rig/editor_session.h"

#include <atomic>

#include "rig/driver.h"
#include "rig/host_cells.h"
#include "rig/plugin.h"

HostCellArray::HostCellArray(std::initializer_list<const char*> texts) {
  for (const char* text : texts) cells.push_back(text ? NewHostBlock(text) : nullptr);
}

HostCellArray::~HostCellArray() { FreeCells(cells); }

std::string HostCellArray::Text(size_t k) const { return CellText(cells.at(k)); }

EditorRun RunEditor(int32_t id, char** cells, const wchar_t* title,
                    const std::function<void(HWND editor)>& drive) {
  EditorRun run;
  std::atomic<bool> returned(false);
  DWORD hostThread = GetCurrentThreadId();
  Driver driver([&] {
    HWND editor = WaitForWindow(L"#32770", title);
    if (!editor) return;
    run.found = true;
    drive(editor);
    run.gone = WaitForGone(editor, 3000);
    if (!run.gone) PostMessageW(editor, WM_SYSCOMMAND, SC_CLOSE, 0);
    for (int waited = 0; !returned && waited < 2000; waited += 10) Sleep(10);
    run.returnedPromptly = returned;
    while (!returned) {
      PostThreadMessageW(hostThread, WM_NULL, 0, 0);
      Sleep(50);
    }
  });
  run.result = Plugin::Get().editAction(id, cells);
  returned = true;
  driver.Join();
  return run;
}

void PressDone(HWND editor) { SendMessageW(GetDlgItem(editor, 100), BM_CLICK, 0, 0); }

void CloseFromSystemMenu(HWND editor) { SendMessageW(editor, WM_SYSCOMMAND, SC_CLOSE, 0); }

void SetBoxText(HWND editor, int id, const std::wstring& text) {
  SetWindowTextW(GetDlgItem(editor, id), text.c_str());
}

std::wstring BoxText(HWND editor, int id) { return TextOf(GetDlgItem(editor, id)); }

std::vector<HWND> ChildrenInOrder(HWND editor) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(editor, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    children.push_back(child);
  return children;
}

RECT ClientRectOf(HWND control) {
  RECT r = WindowRect(control);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::vector<std::wstring> ComboItems(HWND box) {
  std::vector<std::wstring> items;
  LRESULT count = SendMessageW(box, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    LRESULT length = SendMessageW(box, CB_GETLBTEXTLEN, i, 0);
    std::wstring item(length + 1, L'\0');
    SendMessageW(box, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&item[0]));
    item.resize(length);
    items.push_back(item);
  }
  return items;
}

void LetEditorRun() { Sleep(150); }
