// The host's own windows (what a calendar is laid over) and its message loop.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

constexpr wchar_t kHostWindowClass[] = L"VelHostWindow";

// A visible top-level window whose client area is width x height pixels;
// null on failure.
HWND OpenHostWindow(const std::string& title, int width, int height);

// Dispatches this thread's messages until done() holds (checked after every
// message and every wake-up), the time-out passes, or every host window has
// been closed. True when done() held.
bool RunMessageLoop(const std::function<bool()>& done, int timeoutMs);

// True while the main thread sits in RunMessageLoop: the autopilot picks
// calendar days only then, so a waiting dialog never loses its answer.
bool InMessageLoop();
