// Running an editor modally on the host's thread.
#pragma once
#include <windows.h>

#include "dialogs/dialog_window.h"

// Brings the editor forward, installs callback for it, shows it with the
// focus in its first box, and serves every window of the thread until the
// editor is gone. Sleeps while the
// queue is empty. A WM_QUIT closes the editor and is posted again for the
// host's own loop.
void RunEditorModally(HWND editor, MessageHandler callback);
