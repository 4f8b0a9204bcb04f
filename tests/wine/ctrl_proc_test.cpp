// CTRLPROC through the real DLL, installed over a real window's procedure:
// what it paints, the brush it lends the class, and when that brush goes.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <string>

#include "rig/host_window.h"
#include "rig/plugin.h"
#include "rig/reported_high_contrast.h"

namespace {

constexpr COLORREF kCyan = RGB(0, 255, 255);
// An ANSI window, as CTRLPROC passes messages on with CallWindowProcA.
constexpr char kTargetClass[] = "VelCtrlProcTarget";

// What the replaced procedure saw.
HBRUSH g_brushDuringErase = nullptr;
int g_destroysSeen = 0;

LRESULT CALLBACK TargetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ERASEBKGND)
    g_brushDuringErase = reinterpret_cast<HBRUSH>(GetClassLongPtrA(window, GCLP_HBRBACKGROUND));
  if (message == WM_DESTROY) ++g_destroysSeen;
  return DefWindowProcA(window, message, wParam, lParam);
}

const HBRUSH kClassBrush = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);

void RegisterTargetClass() {
  static bool registered = false;
  if (registered) return;
  WNDCLASSA wc = {};
  wc.lpfnWndProc = TargetProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hbrBackground = kClassBrush;
  wc.lpszClassName = kTargetClass;
  registered = RegisterClassA(&wc) != 0;
}

HWND NewTarget(const char* text, int width = 300, int height = 60) {
  RegisterTargetClass();
  HWND window = CreateWindowA(kTargetClass, "", WS_POPUP | WS_VISIBLE, 20, 20, width, height,
                              nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  SetWindowTextA(window, text);
  return window;
}

WNDPROC CtrlProc() { return reinterpret_cast<WNDPROC>(Plugin::Get().ctrlProc); }

// The initialising call, then CTRLPROC as the window's procedure.
void InstallCtrlProc(HWND window) {
  CtrlProc()(nullptr, WM_NULL, reinterpret_cast<WPARAM>(TargetProc), 0);
  SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CtrlProc()));
}

void Repaint(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  PumpFor(50);
}

bool IsReddish(COLORREF c) { return GetRValue(c) > 160 && GetGValue(c) < 100 && GetBValue(c) < 100; }

struct RedArea {
  int count = 0;
  int left = INT_MAX, top = INT_MAX, right = -1;
};

RedArea FindPixels(HWND window, const std::function<bool(COLORREF)>& match) {
  RECT client = {};
  GetClientRect(window, &client);
  RedArea red;
  HDC dc = GetDC(window);
  for (int y = 0; y < client.bottom; ++y)
    for (int x = 0; x < client.right; ++x)
      if (match(GetPixel(dc, x, y))) {
        ++red.count;
        red.left = std::min(red.left, x);
        red.top = std::min(red.top, y);
        red.right = std::max(red.right, x);
      }
  ReleaseDC(window, dc);
  return red;
}

RedArea FindRed(HWND window) { return FindPixels(window, IsReddish); }

COLORREF PixelAt(HWND window, int x, int y) {
  HDC dc = GetDC(window);
  COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return c;
}

// Painted in exactly these colours: glyphs of the text colour; the space of
// "WWWW WWWW" lies in the text's own cell, filled with the background colour
// it was drawn with; outside the text, what the erase left.
void ExpectPaintedIn(HWND window, COLORREF text, COLORREF background) {
  EXPECT_GT(FindPixels(window, [&](COLORREF c) { return c == text; }).count, 20) << "text";
  HDC dc = GetDC(window);
  SIZE word = {}, withSpace = {};
  GetTextExtentPoint32A(dc, "WWWW ", 4, &word);
  GetTextExtentPoint32A(dc, "WWWW ", 5, &withSpace);
  ReleaseDC(window, dc);
  EXPECT_EQ(PixelAt(window, 2 + (word.cx + withSpace.cx) / 2, 2 + word.cy / 2), background) << "the text's cell";
  EXPECT_EQ(PixelAt(window, 290, 50), background) << "erased";
}

bool IsLiveBrush(HBRUSH brush) { return brush && GetObjectType(brush) == OBJ_BRUSH; }

}  // namespace

// Needs a freshly loaded library: keep it first.
TEST(CtrlProcFresh, MessagesBeforeAnyInitialisingCallGetDefaultHandling) {
  ASSERT_TRUE(Plugin::Get().ctrlProc);
  HWND window = NewTarget("Hello");
  EXPECT_EQ(CtrlProc()(window, WM_GETTEXTLENGTH, 0, 0), 5);
  DestroyWindow(window);
}

TEST(CtrlProc, PaintsTheTextRedOnCyanFromTheInsetCorner) {
  HWND window = NewTarget("WWWW WWWW");
  InstallCtrlProc(window);
  Repaint(window);

  RedArea red = FindRed(window);
  EXPECT_GT(red.count, 20);
  EXPECT_GE(red.left, 2);
  EXPECT_GE(red.top, 2);
  EXPECT_LT(red.top, 12) << "the text starts at the top, not centred";
  EXPECT_LT(red.right, 200);
  ExpectPaintedIn(window, RGB(255, 0, 0), kCyan);
  EXPECT_EQ(PixelAt(window, 0, 0), kCyan);
  DestroyWindow(window);
}

TEST(CtrlProc, DrawsAtMostSeventyNineCharacters) {
  const std::string longText(100, 'W');
  HWND probe = NewTarget("");
  HDC dc = GetDC(probe);
  SIZE upTo78 = {}, upTo79 = {};
  GetTextExtentPoint32A(dc, longText.c_str(), 78, &upTo78);
  GetTextExtentPoint32A(dc, longText.c_str(), 79, &upTo79);
  ReleaseDC(probe, dc);
  DestroyWindow(probe);

  HWND window = NewTarget(longText.c_str(), upTo79.cx + 200, 40);
  InstallCtrlProc(window);
  Repaint(window);
  RedArea red = FindRed(window);
  // The last character drawn ends within the 79th character cell.
  EXPECT_GT(red.right, 2 + upTo78.cx - 1);
  EXPECT_LT(red.right, 2 + upTo79.cx);
  DestroyWindow(window);
}

TEST(CtrlProc, TheClassBrushIsCyanOnlyWhileErasingAndEraseReportsDone) {
  HWND window = NewTarget("x");
  InstallCtrlProc(window);
  g_brushDuringErase = nullptr;
  HDC dc = GetDC(window);
  EXPECT_EQ(SendMessageW(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 1);
  ReleaseDC(window, dc);

  ASSERT_TRUE(IsLiveBrush(g_brushDuringErase));
  EXPECT_NE(g_brushDuringErase, kClassBrush);
  LOGBRUSH look = {};
  GetObjectW(g_brushDuringErase, sizeof(look), &look);
  EXPECT_EQ(look.lbColor, kCyan);
  EXPECT_EQ(reinterpret_cast<HBRUSH>(GetClassLongPtrW(window, GCLP_HBRBACKGROUND)), kClassBrush);
  DestroyWindow(window);
}

TEST(CtrlProc, DestroyDeletesTheBrushAndStillReachesTheReplacedProcedure) {
  HWND window = NewTarget("x");
  InstallCtrlProc(window);
  Repaint(window);
  HBRUSH brush = g_brushDuringErase;
  ASSERT_TRUE(IsLiveBrush(brush));
  int destroysBefore = g_destroysSeen;
  DestroyWindow(window);
  EXPECT_EQ(g_destroysSeen, destroysBefore + 1);
  EXPECT_FALSE(IsLiveBrush(brush));
}

TEST(CtrlProc, ASecondInitialisingCallReleasesTheFirstBrush) {
  HWND window = NewTarget("x");
  InstallCtrlProc(window);
  Repaint(window);
  HBRUSH first = g_brushDuringErase;
  ASSERT_TRUE(IsLiveBrush(first));

  CtrlProc()(nullptr, WM_NULL, reinterpret_cast<WPARAM>(TargetProc), 0);
  EXPECT_FALSE(IsLiveBrush(first));
  Repaint(window);
  EXPECT_TRUE(IsLiveBrush(g_brushDuringErase));
  EXPECT_EQ(PixelAt(window, 290, 50), kCyan);
  DestroyWindow(window);
}

// Under High Contrast the text is painted in the scheme's window text colour
// on its window colour, from the next paint; switched off, red on cyan again.
TEST(CtrlProc, UnderHighContrastPaintsInTheWindowColours) {
  ReportedHighContrast highContrast(Plugin::Get().module, ReportedHighContrast::kScheme);
  ASSERT_TRUE(highContrast.installed());
  HWND window = NewTarget("WWWW WWWW");
  InstallCtrlProc(window);
  Repaint(window);
  ExpectPaintedIn(window, ReportedHighContrast::SchemeColour(COLOR_WINDOWTEXT),
                  ReportedHighContrast::SchemeColour(COLOR_WINDOW));
  EXPECT_EQ(FindRed(window).count, 0);
  highContrast.Switch(false);
  Repaint(window);
  ExpectPaintedIn(window, RGB(255, 0, 0), kCyan);
  DestroyWindow(window);
}
