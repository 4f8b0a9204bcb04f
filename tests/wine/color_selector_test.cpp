// xr_Dialogs_ColorSelector against Wine's real colour dialog.
#include <gtest/gtest.h>

#include <climits>

#include "rig/driver.h"
#include "rig/plugin.h"
#include "rig/recorder.h"
#include "rig/refused_allocations.h"

namespace {

// Control ids of the colour dialog's red, green and blue boxes.
constexpr int kRedEdit = 706, kGreenEdit = 707, kBlueEdit = 708;
// The custom colour boxes (two rows of eight) and the button that adds the
// current colour to them.
constexpr int kCustomColorBoxes = 721, kAddToCustomColors = 712;

// The screen's pixels are read where the window rectangle says only by a
// program that is DPI-aware: Windows scales an unaware one above 100 %.
const BOOL kDpiAware = SetProcessDPIAware();

// The colour shown at the centre of custom colour box `index`, read from
// the screen.
COLORREF CustomBoxColor(HWND dialog, int index) {
  RECT boxes = WindowRect(GetDlgItem(dialog, kCustomColorBoxes));
  int cellWidth = (boxes.right - boxes.left) / 8, cellHeight = (boxes.bottom - boxes.top) / 2;
  int x = boxes.left + (index % 8) * cellWidth + cellWidth / 2;
  int y = boxes.top + (index / 8) * cellHeight + cellHeight / 2;
  HDC screen = GetDC(nullptr);
  COLORREF color = GetPixel(screen, x, y);
  ReleaseDC(nullptr, screen);
  return color;
}

using Vars = std::vector<std::pair<std::string, std::string>>;

struct ColorDialogSeen {
  bool found = false;
  COLORREF firstCustom = CLR_INVALID;
  RECT rect = {};
  UINT red = 0, green = 0, blue = 0;
  bool fullOpen = false;
};

// Runs the colour action; the driver reads what the dialog shows, then
// either types a colour and presses OK, or cancels.
ColorDialogSeen RunColor(const char* posX, const char* posY, bool accept, int r = 0, int g = 0,
                         int b = 0, RefusedAllocations* refuseAfterOk = nullptr) {
  ColorDialogSeen seen;
  Driver driver([&] {
    HWND dialog = WaitForWindow(L"#32770");
    if (!dialog) return;
    seen.found = true;
    Sleep(50);
    seen.rect = WindowRect(dialog);
    seen.red = GetDlgItemInt(dialog, kRedEdit, nullptr, FALSE);
    seen.green = GetDlgItemInt(dialog, kGreenEdit, nullptr, FALSE);
    seen.blue = GetDlgItemInt(dialog, kBlueEdit, nullptr, FALSE);
    HWND redBox = GetDlgItem(dialog, kRedEdit);
    seen.fullOpen = redBox && IsWindowVisible(redBox);
    Sleep(150);  // painted by now
    seen.firstCustom = CustomBoxColor(dialog, 0);
    if (accept) {
      SetDlgItemInt(dialog, kRedEdit, r, FALSE);
      SetDlgItemInt(dialog, kGreenEdit, g, FALSE);
      SetDlgItemInt(dialog, kBlueEdit, b, FALSE);
      if (refuseAfterOk) refuseAfterOk->RefuseNext(1);
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    } else {
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
    if (!WaitForGone(dialog)) CancelAllDialogs();
  });
  ClearHostCalls();
  EXPECT_EQ(Exec(2, {posX, posY}), 1u);
  driver.Join();
  return seen;
}

Vars Accepted(const char* hex, const char* rgb) {
  return {{"xr_Dialogs_ColorSelected_Status", "True"},
          {"xr_Dialogs_ColorSelected_HEX", hex},
          {"xr_Dialogs_ColorSelected_RGB", rgb}};
}

const Vars kCancelled = {{"xr_Dialogs_ColorSelected_Status", "False"},
                         {"xr_Dialogs_ColorSelected_HEX", "<null>"},
                         {"xr_Dialogs_ColorSelected_RGB", "<null>"}};

}  // namespace

// One process, one remembered colour: these run in order.
TEST(ColorSelector, FirstCallPreselectsBlackFullyOpenAtTheGivenPoint) {
  ColorDialogSeen seen = RunColor("100", "50", false);
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.rect.left, 100);
  EXPECT_EQ(seen.rect.top, 50);
  EXPECT_EQ(seen.red + seen.green + seen.blue, 0u);
  EXPECT_TRUE(seen.fullOpen);
  EXPECT_EQ(seen.firstCustom, RGB(0, 0, 0));
  EXPECT_EQ(RecordedVariables(), kCancelled);
}

TEST(ColorSelector, AcceptedColourIsReportedInOrderAndRemembered) {
  ColorDialogSeen seen = RunColor("0", "0", true, 255, 0, 0);
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(RecordedVariables(), Accepted("#FF0000", "255,0,0"));

  seen = RunColor("0", "0", true, 0, 128, 255);
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.red, 255u);  // the previous choice is preselected
  EXPECT_EQ(seen.green, 0u);
  EXPECT_EQ(RecordedVariables(), Accepted("#0080FF", "0,128,255"));

  seen = RunColor("0", "0", true, 1, 2, 3);
  EXPECT_EQ(RecordedVariables(), Accepted("#010203", "1,2,3"));
}

TEST(ColorSelector, CancelKeepsTheRememberedColourAndEmptiesTheValues) {
  RunColor("0", "0", true, 10, 20, 30);
  ColorDialogSeen seen = RunColor("0", "0", false);
  EXPECT_EQ(RecordedVariables(), kCancelled);
  seen = RunColor("0", "0", false);
  EXPECT_EQ(seen.red, 10u);
  EXPECT_EQ(seen.green, 20u);
  EXPECT_EQ(seen.blue, 30u);
}

// Memory running out after OK must not leave the script reading the last
// call's results: the status says "False" and the values are emptied.
TEST(ColorSelector, MemoryRunningOutAfterOkStillReportsFalseAndEmptyValues) {
  RefusedAllocations refusal(Plugin::Get().module);
  ASSERT_TRUE(refusal.installed());
  RunColor("0", "0", true, 1, 2, 3, &refusal);
  EXPECT_EQ(refusal.refused(), 1);
  EXPECT_EQ(RecordedVariables(), kCancelled);
}

// The same when the library cannot even copy the host's texts: no dialog,
// and the script still reads this call's outcome.
TEST(ColorSelector, MemoryRunningOutWhileCopyingTheTextsReportsFalseAndEmptyValues) {
  RefusedAllocations refusal(Plugin::Get().module);
  ASSERT_TRUE(refusal.installed());
  ClearHostCalls();
  refusal.RefuseNext(1);
  // Longer than a short string keeps inline, so that its copy allocates.
  EXPECT_EQ(Exec(2, {"100.000000000000000000000", "50"}), 1u);
  EXPECT_EQ(refusal.refused(), 1);
  EXPECT_EQ(RecordedVariables(), kCancelled);
  EXPECT_TRUE(ProcessWindows(L"#32770").empty());
}

TEST(ColorSelector, CustomColoursDefinedInOneCallAreOfferedInTheNext) {
  bool added = false;
  Driver driver([&] {
    HWND dialog = WaitForWindow(L"#32770");
    if (!dialog) return;
    SetDlgItemInt(dialog, kRedEdit, 200, FALSE);
    SetDlgItemInt(dialog, kGreenEdit, 30, FALSE);
    SetDlgItemInt(dialog, kBlueEdit, 90, FALSE);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(kAddToCustomColors, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, kAddToCustomColors)));
    added = true;
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    if (!WaitForGone(dialog)) CancelAllDialogs();
  });
  Exec(2, {"0", "0"});
  driver.Join();
  ASSERT_TRUE(added);
  // Cancelled, yet the custom colours stay: the dialog keeps them in place.
  ColorDialogSeen seen = RunColor("0", "0", false);
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.firstCustom, RGB(200, 30, 90));
}

TEST(ColorSelector, PositionTextsAreReadAsRoundedNumbers) {
  struct Case { const char* x; const char* y; LONG left, top; } cases[] = {
      {nullptr, nullptr, 0, 0}, {"12.4", "12.6", 12, 13}, {"  40", "40px", 40, 40},
      {"abc", "&H20", 0, 32},   {"12.5", "13.5", 12, 14}, {"-100", "7", -100, 7},
  };
  for (const Case& c : cases) {
    ColorDialogSeen seen = RunColor(c.x, c.y, false);
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.rect.left, c.left) << (c.x ? c.x : "null");
    EXPECT_EQ(seen.rect.top, c.top) << (c.y ? c.y : "null");
  }
}

TEST(ColorSelector, MinimumIntegerInEitherCoordinateCentresOnTheWorkArea) {
  RECT work;
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
  for (auto xy : {std::make_pair("-2147483648", "5"), std::make_pair("5", "-2147483648")}) {
    ColorDialogSeen seen = RunColor(xy.first, xy.second, false);
    ASSERT_TRUE(seen.found);
    LONG w = seen.rect.right - seen.rect.left, h = seen.rect.bottom - seen.rect.top;
    EXPECT_EQ(seen.rect.left, work.right / 2 - w / 2);
    EXPECT_EQ(seen.rect.top, work.bottom / 2 - h / 2);
  }
}

TEST(ColorSelector, OutOfRangePositionsDoNotCrash) {
  for (const char* x : {"1e400", "-1e400", "99999999999999999999999999999999999999999"}) {
    ColorDialogSeen seen = RunColor(x, "0", false);
    EXPECT_TRUE(seen.found) << x;
    EXPECT_EQ(RecordedVariables(), kCancelled);
  }
}

TEST(ColorSelector, HostTextsAndArrayAreLeftUntouched) {
  char x[] = "100", y[] = "50";
  char* cells[2] = {x, y};
  Driver driver([] {
    HWND dialog = WaitForWindow(L"#32770");
    if (dialog) PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_EQ(Plugin::Get().execAction(2, cells), 1u);
  driver.Join();
  EXPECT_EQ(cells[0], x);
  EXPECT_EQ(cells[1], y);
  EXPECT_STREQ(x, "100");
  EXPECT_STREQ(y, "50");
}

namespace {
std::vector<std::string> g_secondVariables;
int32_t __stdcall SecondSetVar(const char* name, const char* value) {
  g_secondVariables.push_back(std::string(name) + "=" + (value ? value : "<null>"));
  return 0;
}
int g_secondAddActions = 0;
int32_t __stdcall SecondAddAction(int32_t, const char*, const char*, const char*, uint32_t) {
  ++g_secondAddActions;
  return 0;
}
}  // namespace

TEST(ColorSelector, ASecondRegistrationRoutesVariablesToTheNewCallback) {
  Plugin& p = Plugin::Get();
  p.registerPlugIn(SecondAddAction, nullptr, nullptr, SecondSetVar);
  EXPECT_EQ(g_secondAddActions, 7);
  RunColor("0", "0", false);
  EXPECT_TRUE(HostCalls().empty());
  EXPECT_EQ(g_secondVariables,
            (std::vector<std::string>{"xr_Dialogs_ColorSelected_Status=False",
                                      "xr_Dialogs_ColorSelected_HEX=<null>",
                                      "xr_Dialogs_ColorSelected_RGB=<null>"}));
  p.registerPlugIn(RecordAddAction, nullptr, nullptr, RecordSetVar);
}

TEST(ColorSelector, NoSetVarCallbackMeansNoCallAndNoCrash) {
  Plugin& p = Plugin::Get();
  p.registerPlugIn(nullptr, nullptr, nullptr, nullptr);
  ColorDialogSeen seen = RunColor("0", "0", true, 1, 1, 1);
  EXPECT_TRUE(seen.found);
  EXPECT_TRUE(HostCalls().empty());
  p.registerPlugIn(RecordAddAction, nullptr, nullptr, RecordSetVar);
}
