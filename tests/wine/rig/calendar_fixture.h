// The calendar tests' shared rig: a host window per test, the calendar's
// start and stop through the real DLL, the frames it lays over the host and a
// mouse pick with what the host was told.
#pragma once
#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "rig/dialog_face.h"
#include "rig/host_window.h"
#include "rig/month_calendar.h"
#include "rig/plugin.h"
#include "rig/recorder.h"

// DPI-aware before the first window, as a host on a high-DPI screen is; at
// 96 DPI this changes nothing.
extern const BOOL kDpiAware;
// A raster face too large for 96 DPI, as on Windows at high DPI, before the
// first font is made: Wine keeps the faces it has mapped for fonts made alike.
extern const HighDpiRasterFace kRasterFace;

using Vars = std::vector<std::pair<std::string, std::string>>;
using Scripts = std::vector<std::string>;

constexpr int kCalendarId = 20;
constexpr DWORD kPickTimeoutMs = 3000;
// Long enough for a second report of the same pick to show up.
constexpr DWORD kSettleMs = 200;

void Start(const std::string& handle, const char* previous, const char* style,
           const char* subroutine);
void Stop();

std::vector<HWND> Frames(HWND host);
// The newest frame lies on top.
HWND NewestFrame(HWND host);
HWND CalendarOf(HWND frame);

struct PickSeen {
  bool clicked = false;
  Vars variables;
  Scripts scripts;
};

PickSeen Pick(HWND calendar, WORD year, WORD month, WORD day);

Vars DateVar(const char* text);

bool SameDay(const SYSTEMTIME& a, WORD year, WORD month, WORD day);

std::string DayText(const SYSTEMTIME& st);

// Each test leaves no calendar and no hook behind.
class Calendar : public ::testing::Test {
 protected:
  void SetUp() override { Plugin::Get(); ClearHostCalls(); }
  void TearDown() override {
    g_onScript = nullptr;
    Stop();
    PumpFor(50);
  }
  HostWindow host_{300, 200};
};
