// The routing of the library's dialog facility, linked in directly: which
// handlers a notification reaches and what a destroyed dialog leaves in the
// table. The table is keyed by handle alone, so no window is needed.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "dialogs/dialog_window.h"

namespace {

const HWND kFrameA = reinterpret_cast<HWND>(0x1010);
const HWND kControlOfA = reinterpret_cast<HWND>(0x1012);
const HWND kFrameB = reinterpret_cast<HWND>(0x1020);

// (handler, the dialog it was called for), in order.
using Calls = std::vector<std::pair<std::string, HWND>>;
Calls g_calls;

LRESULT CALLBACK FrameHandler(HWND dialog, UINT message, WPARAM, LPARAM) {
  if (message == WM_NOTIFY) g_calls.push_back({"frame", dialog});
  return 0;
}

LRESULT CALLBACK ControlHandler(HWND dialog, UINT message, WPARAM, LPARAM) {
  if (message == WM_NOTIFY) g_calls.push_back({"control", dialog});
  return 0;
}

void Notify(HWND dialog, HWND from) {
  NMHDR header = {from, 20, 0};
  RoutingDialogProc(dialog, WM_NOTIFY, 20, reinterpret_cast<LPARAM>(&header));
}

// Two dialogs, the first with a control of its own.
class Routing : public ::testing::Test {
 protected:
  void SetUp() override {
    g_calls.clear();
    InstallHandler(kFrameA, kFrameA, FrameHandler);
    InstallHandler(kControlOfA, kFrameA, ControlHandler);
    InstallHandler(kFrameB, kFrameB, FrameHandler);
  }
  void TearDown() override {
    ForgetDialog(kFrameA);
    ForgetDialog(kFrameB);
  }
};

}  // namespace

TEST_F(Routing, ANotificationNamingAControlOfAnotherDialogReachesOnlyTheDialogItCameTo) {
  Notify(kFrameA, kControlOfA);
  EXPECT_EQ(g_calls, (Calls{{"control", kFrameA}, {"frame", kFrameA}}));
  g_calls.clear();
  Notify(kFrameB, kControlOfA);
  EXPECT_EQ(g_calls, (Calls{{"frame", kFrameB}}));
}

TEST_F(Routing, ADestroyedDialogLeavesNoRouteForItselfOrItsControls) {
  RoutingDialogProc(kFrameA, WM_NCDESTROY, 0, 0);
  EXPECT_FALSE(IsKnownDialog(kFrameA));
  EXPECT_EQ(FindHandler(kFrameA), nullptr);
  EXPECT_EQ(FindHandler(kControlOfA), nullptr) << "the control's route outlived its dialog";
  EXPECT_TRUE(IsKnownDialog(kFrameB));
}
