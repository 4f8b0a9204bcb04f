// A PNG of what the screen shows where a window is, frame and caption included.
#pragma once
#include <windows.h>

#include <string>

// False when the window is off screen, the capture fails or the file cannot
// be written.
bool SaveWindowPng(HWND window, const std::string& path);
