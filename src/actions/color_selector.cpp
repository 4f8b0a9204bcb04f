// xr_Dialogs_ColorSelector: the system colour dialog at the script's position.
#include <windows.h>
#include <commdlg.h>

#include "actions/color_text.h"
#include "actions/place_dialog.h"
#include "plugin/action_procedures.h"
#include "plugin/host_callbacks.h"

namespace {

// Remembered while the library is loaded: the last accepted colour, and the
// custom colour boxes that the dialog reads and writes in place.
COLORREF g_lastColor = 0;
COLORREF g_customColors[16] = {};
// Set by the hook when the user presses OK; the dialog's own result is not trusted.
bool g_okPressed = false;

UINT_PTR CALLBACK ColorHook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* chooser = reinterpret_cast<const CHOOSECOLORA*>(lParam);
    if (chooser) PlaceDialogAtCustData(dialog, chooser->lCustData);
  } else if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
    g_okPressed = true;
  }
  return 0;
}

}  // namespace

int32_t __stdcall XrDialogsColorSelector(const char* posX, const char* posY) {
  DialogPosition position = ReadDialogPosition(posX, posY);
  g_okPressed = false;

  CHOOSECOLORA chooser = {};
  chooser.lStructSize = sizeof(chooser);
  chooser.rgbResult = g_lastColor & 0x00FFFFFF;
  chooser.lpCustColors = g_customColors;
  chooser.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ENABLEHOOK;
  chooser.lCustData = reinterpret_cast<LPARAM>(&position);
  chooser.lpfnHook = ColorHook;
  ChooseColorA(&chooser);

  if (g_okPressed) {
    COLORREF chosen = chooser.rgbResult & 0x00FFFFFF;
    g_lastColor = chosen;
    SetHostVariable("xr_Dialogs_ColorSelected_Status", "True");
    SetHostVariable("xr_Dialogs_ColorSelected_HEX", ColorToHexText(chosen));
    SetHostVariable("xr_Dialogs_ColorSelected_RGB", ColorToRgbText(chosen));
  } else {
    SetHostVariable("xr_Dialogs_ColorSelected_Status", "False");
    SetHostVariable("xr_Dialogs_ColorSelected_HEX", "");
    SetHostVariable("xr_Dialogs_ColorSelected_RGB", "");
  }
  return 0;
}
