// Where the common dialogs open: at the script's screen position, or centred.
#pragma once
#include <windows.h>

#include <cstdint>

// A position coordinate with this value asks for a centred dialog.
constexpr int32_t kNoPosition = INT32_MIN;

struct DialogPosition {
  int32_t x;
  int32_t y;
};

// Reads Pos_X and Pos_Y parameter texts (rounded, saturated numbers).
DialogPosition ReadDialogPosition(const char* posX, const char* posY);

// Moves the dialog's top-left corner to (x, y), nothing clamped, or centres
// it on the work area when either coordinate is kNoPosition; then brings it
// to the foreground. Called while the dialog initialises.
void PlaceDialog(HWND dialog, int32_t x, int32_t y);

// For the common dialogs' hooks: places the dialog at the DialogPosition
// that the record's lCustData refers to; nothing when it refers to none.
void PlaceDialogAtCustData(HWND dialog, LPARAM custData);
