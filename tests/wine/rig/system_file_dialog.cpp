#include "rig/system_file_dialog.h"

#include <windows.h>
#include <commdlg.h>

#include "rig/driver.h"

std::wstring SystemFileDialogTitle(bool save) {
  std::wstring title;
  Driver driver([&] {
    HWND frame = WaitForWindow(L"#32770");
    if (!frame) return;
    title = TextOf(frame);
    PostMessageW(frame, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(frame, IDCANCEL)));
    if (!WaitForGone(frame, 5000)) CancelAllDialogs();
  });
  wchar_t file[MAX_PATH] = {};
  OPENFILENAMEW dialog = {};
  dialog.lStructSize = sizeof(dialog);
  dialog.lpstrFile = file;
  dialog.nMaxFile = MAX_PATH;
  dialog.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR;
  if (save) GetSaveFileNameW(&dialog);
  else GetOpenFileNameW(&dialog);
  driver.Join();
  return title;
}
