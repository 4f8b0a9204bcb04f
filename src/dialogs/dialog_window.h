// Dialog windows from in-memory templates, and the routing of their messages
// to handlers that the library installs per window.
#pragma once
#include <windows.h>

#include "dialogs/dialog_template.h"

// A handler returns 0 when it did not handle the message.
using MessageHandler = LRESULT(CALLBACK*)(HWND, UINT, WPARAM, LPARAM);

// The library's module instance, for window creation.
HINSTANCE LibraryInstance();

// Creates a modeless dialog from an item-less template. With a null proc the
// routing procedure below serves it. The window is known to the routing from
// creation until its WM_NCDESTROY; a custom proc passes that message on to
// RoutingDialogProc (or calls ForgetDialog) for this to hold. The first
// call pins the library in the process, so that no unload pulls code out
// from under a window of it.
HWND CreateTemplateDialog(const DialogTemplateLayout& layout, HWND parent, DLGPROC proc);

// Installs the handler that the routing calls for messages of window. For a
// control, frame names the dialog that receives its notifications.
void InstallHandler(HWND window, HWND frame, MessageHandler handler);
MessageHandler FindHandler(HWND window);

// True while a dialog created above still exists.
bool IsKnownDialog(HWND dialog);

// Forgets a dialog and every handler installed under it; called on WM_NCDESTROY.
void ForgetDialog(HWND dialog);

// The routing dialog procedure:
//  - WM_NOTIFY goes first to the handler of the sending control (NMHDR
//    hwndFrom); when that returns 0, to the dialog's own handler;
//  - every other message goes to the dialog's own handler, once installed;
//  - WM_NCDESTROY forgets the dialog.
INT_PTR CALLBACK RoutingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
