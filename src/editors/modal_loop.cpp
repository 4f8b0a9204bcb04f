#include "editors/modal_loop.h"

#include "editors/editor_frame.h"

void RunEditorModally(HWND editor, MessageHandler callback) {
  SetForegroundWindow(editor);
  InstallHandler(editor, editor, callback);
  ShowWindow(editor, SW_SHOW);
  // The controls came after the dialog manager's WM_INITDIALOG, which would
  // have given the first of them the focus: the keyboard starts there.
  if (HWND first = GetNextDlgTabItem(editor, nullptr, FALSE))
    SendMessageW(editor, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);

  // The facility forgets the editor at WM_NCDESTROY, which can happen inside
  // PeekMessageW (a message sent from another thread) with nothing posted
  // after it: the exit condition is checked after every wake-up.
  while (IsKnownDialog(editor)) {
    MSG message;
    if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (!IsKnownDialog(editor)) break;
      MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
      continue;
    }
    if (message.message == WM_QUIT) {
      EndEditor(editor);
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    // The message came from the Unicode queue: the ANSI variant would
    // squeeze typed characters through the code page.
    if (IsDialogMessageW(editor, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}
