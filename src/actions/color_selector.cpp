// xr_Dialogs_ColorSelector: the system colour dialog at the script's position.
#include <windows.h>
#include <commdlg.h>

#include "actions/color_text.h"
#include "actions/place_dialog.h"
#include "plugin/action_procedures.h"
#include "plugin/catch_all.h"
#include "plugin/host_callbacks.h"

namespace {

// Remembered while the library is loaded: the last accepted colour, and the
// custom colour boxes that the dialog reads and writes in place.
COLORREF g_lastColor = 0;
COLORREF g_customColors[16] = {};

// One per call, on its stack: host code may run another colour call inside
// this one's dialog, and each reports only its own dialog's OK.
struct ColorCall {
  DialogPosition position;
  bool okPressed;  // set by the hook; the dialog's own result is not trusted
};

// Where the hook finds its call's record after WM_INITDIALOG.
constexpr wchar_t kColorCallProperty[] = L"VelDialogs.ColorCall";

UINT_PTR CALLBACK ColorHook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* chooser = reinterpret_cast<const CHOOSECOLORA*>(lParam);
    if (!chooser || !chooser->lCustData) return 0;
    auto* call = reinterpret_cast<ColorCall*>(chooser->lCustData);
    SetPropW(dialog, kColorCallProperty, call);
    PlaceDialog(dialog, call->position.x, call->position.y);
  } else if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
    if (auto* call = static_cast<ColorCall*>(GetPropW(dialog, kColorCallProperty)))
      call->okPressed = true;
  } else if (message == WM_DESTROY) {
    RemovePropW(dialog, kColorCallProperty);
  }
  return 0;
}

// Status first, then the values, as a cancel reports them.
constexpr const char* kColorVariables[] = {"xr_Dialogs_ColorSelected_Status",
                                           "xr_Dialogs_ColorSelected_HEX",
                                           "xr_Dialogs_ColorSelected_RGB"};

void ShowColorSelector(const char* posX, const char* posY) {
  ColorCall call = {ReadDialogPosition(posX, posY), false};

  CHOOSECOLORA chooser = {};
  chooser.lStructSize = sizeof(chooser);
  chooser.rgbResult = g_lastColor & 0x00FFFFFF;
  chooser.lpCustColors = g_customColors;
  chooser.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ENABLEHOOK;
  chooser.lCustData = reinterpret_cast<LPARAM>(&call);
  chooser.lpfnHook = ColorHook;
  ChooseColorA(&chooser);

  if (call.okPressed) {
    COLORREF chosen = chooser.rgbResult & 0x00FFFFFF;
    g_lastColor = chosen;
    SetHostVariable("xr_Dialogs_ColorSelected_Status", "True");
    SetHostVariable("xr_Dialogs_ColorSelected_HEX", ColorToHexText(chosen));
    SetHostVariable("xr_Dialogs_ColorSelected_RGB", ColorToRgbText(chosen));
  } else {
    ReportNoChoice(kColorVariables);
  }
}

}  // namespace

void ReportColorSelectorFailure() { ReportNoChoice(kColorVariables); }

int32_t __stdcall XrDialogsColorSelector(const char* posX, const char* posY) {
  CatchAllReporting([&] { ShowColorSelector(posX, posY); }, ReportColorSelectorFailure);
  return 0;
}
