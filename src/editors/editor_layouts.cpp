#include "editors/editor_layouts.h"

#include <windows.h>

namespace {

constexpr BoxKind kText = BoxKind::TextBox;
constexpr BoxKind kDropDown = BoxKind::DropDownBox;
constexpr BoxItems kNone = BoxItems::None;

const EditorLayout kLayouts[] = {
    {kActionFontSelector, L"Font Selector", WS_EX_TOPMOST, 5,
     {{L"Font", {20, 10, 60, 20}, kText, {80, 10, 200, 20}, kNone},
      {L"Size", {20, 34, 60, 20}, kText, {80, 34, 200, 20}, kNone},
      {L"Style", {20, 58, 60, 20}, kText, {80, 58, 200, 20}, kNone},
      {L"X Pos", {20, 82, 60, 20}, kText, {80, 82, 200, 20}, kNone},
      {L"Y Pos", {20, 106, 60, 20}, kText, {80, 106, 200, 20}, kNone}},
     {130, 134, 100, 24}},
    {kActionColorSelector, L"Color Selector", WS_EX_TOPMOST, 2,
     {{L"X Pos", {20, 50, 60, 20}, kText, {80, 50, 200, 20}, kNone},
      {L"Y Pos", {20, 84, 60, 20}, kText, {80, 84, 200, 20}, kNone}},
     {130, 130, 100, 24}},
    {kActionFolderSelector, L"Folder Selector", WS_EX_TOPMOST, 4,
     {{L"Title", {20, 10, 60, 20}, kText, {80, 10, 200, 20}, kNone},
      {L"Init Folder", {20, 34, 60, 20}, kText, {80, 34, 200, 20}, kNone},
      {L"X Pos", {20, 58, 60, 20}, kText, {80, 58, 200, 20}, kNone},
      {L"Y Pos", {20, 82, 60, 20}, kText, {80, 82, 200, 20}, kNone}},
     {130, 126, 100, 24}},
    // Not topmost: the author picks the host window it will cover.
    {kActionCalendarStart, L"XR_Dialogs_CalendarStart", 0, 4,
     {{L"Handle Rect", {20, 18, 80, 20}, kText, {100, 15, 200, 20}, kNone},
      {L"Prev.Date", {20, 43, 80, 20}, kText, {100, 43, 200, 20}, kNone},
      {L"Date Style", {20, 74, 80, 20}, kDropDown, {100, 72, 120, 120}, BoxItems::DateStyles},
      {L"VelScript", {20, 106, 80, 20}, kDropDown, {100, 103, 200, 120}, BoxItems::HostNames}},
     {130, 132, 100, 24}},
    {kActionOpenFile, L"Open File Dialog", WS_EX_TOPMOST, 4,
     {{L"Title of the Dialog", {20, 10, 100, 20}, kText, {120, 10, 200, 20}, kNone},
      {L"Folder", {20, 34, 100, 20}, kText, {120, 34, 200, 20}, kNone},
      {L"Filters ", {20, 58, 116, 20}, kText, {120, 58, 200, 20}, kNone},
      {L"File Mask *.JPG", {20, 82, 116, 20}, kText, {120, 82, 200, 20}, kNone}},
     {130, 134, 100, 24}},
    {kActionSaveFile, L"Save File Dialog", WS_EX_TOPMOST, 4,
     {{L"Title of the Dialog", {20, 10, 100, 20}, kText, {120, 10, 200, 20}, kNone},
      {L"Initial Folder", {20, 34, 100, 20}, kText, {120, 34, 200, 20}, kNone},
      {L"FileName", {20, 58, 100, 20}, kText, {120, 58, 200, 20}, kNone},
      {L"FileMask (*.JPG)", {20, 82, 100, 20}, kText, {120, 82, 200, 20}, kNone}},
     {130, 134, 100, 24}},
};

}  // namespace

const wchar_t* const kDateStyles[kDateStyleCount] = {L"MM-DD-YYYY", L"DD-MM-YYYY", L"YYYY-MM-DD"};

const EditorLayout* FindEditorLayout(int32_t actionId) {
  for (const EditorLayout& layout : kLayouts)
    if (layout.actionId == actionId) return &layout;
  return nullptr;
}
