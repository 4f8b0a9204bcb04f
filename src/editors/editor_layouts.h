// What each design-time editor shows: title, topmost or not, and its rows of
// label plus input box, in creation (and tab) order.
#pragma once
#include <cstdint>

#include "dialogs/dpi_scale.h"
#include "plugin/catalogue.h"

// Control ids: the label of row k is kFirstLabelId + k, its box kFirstBoxId + k.
constexpr int kDoneButtonId = 100;
constexpr int kFirstLabelId = 110;
constexpr int kFirstBoxId = 120;

struct PixelRect {
  int x, y, width, height;  // client pixels; a drop-down box's height includes its list
};

// A rectangle of the tables (96 DPI) as a window of dpi shows it: each
// value scaled alike, so that 96 gives the table's own pixels.
inline PixelRect ScaledRect(const PixelRect& at, int dpi) {
  return {ScaleForDpi(at.x, dpi), ScaleForDpi(at.y, dpi), ScaleForDpi(at.width, dpi),
          ScaleForDpi(at.height, dpi)};
}

enum class BoxKind { TextBox, DropDownBox };

// Where a drop-down box takes its items from.
enum class BoxItems { None, DateStyles, HostNames };

struct EditorRow {
  const wchar_t* caption;
  PixelRect label;
  BoxKind kind;
  PixelRect box;
  BoxItems items;
};

struct EditorLayout {
  int32_t actionId;
  const wchar_t* title;
  uint32_t exStyle;
  int rowCount;  // the action's parameter count: row k edits parameter cell k
  EditorRow rows[kMaxParameters];
  PixelRect done;
};

// The editor of an action, or null for an action without parameters (and
// for an id that names no action).
const EditorLayout* FindEditorLayout(int32_t actionId);

// The calendar's date styles, offered in the date-style box.
constexpr int kDateStyleCount = 3;
extern const wchar_t* const kDateStyles[kDateStyleCount];
