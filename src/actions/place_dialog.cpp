#include "actions/place_dialog.h"

#include "plugin/text_to_number.h"

DialogPosition ReadDialogPosition(const char* posX, const char* posY) {
  return {TextToInt(posX), TextToInt(posY)};
}

void PlaceDialog(HWND dialog, int32_t x, int32_t y) {
  int targetX = x;
  int targetY = y;
  if (x == kNoPosition || y == kNoPosition) {
    // Only the work area's right and bottom edges enter, as hosts expect.
    RECT window, workArea;
    targetX = targetY = 0;
    if (GetWindowRect(dialog, &window) &&
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0)) {
      int width = window.right - window.left;
      int height = window.bottom - window.top;
      targetX = (workArea.right >> 1) - (width >> 1);
      targetY = (workArea.bottom >> 1) - (height >> 1);
    }
  }
  SetWindowPos(dialog, nullptr, targetX, targetY, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  SetForegroundWindow(dialog);
}

void PlaceDialogAtCustData(HWND dialog, LPARAM custData) {
  if (!custData) return;
  auto* position = reinterpret_cast<const DialogPosition*>(custData);
  PlaceDialog(dialog, position->x, position->y);
}
