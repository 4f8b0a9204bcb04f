// xr_Dialogs_FontSelector against Wine's real font dialog. The faces used
// here are the Liberation fonts that the test set-up installs.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>

#include "rig/driver.h"
#include "rig/plugin.h"
#include "rig/recorder.h"

namespace {

// Control ids of the font dialog.
constexpr int kFaceCombo = 0x470, kStyleCombo = 0x471, kSizeCombo = 0x472;
constexpr int kColorCombo = 0x473;
constexpr int kStrikeOutCheck = 0x410, kUnderlineCheck = 0x411;

using Vars = std::vector<std::pair<std::string, std::string>>;

// What the driver saw in the dialog before changing anything.
struct FontDialogSeen {
  bool found = false;
  RECT rect = {};
  std::wstring face, style, size;
  bool underline = false, strikeOut = false;
};

// Changes the driver makes before pressing OK; empty fields stay as shown.
struct FontChoice {
  const wchar_t* face = nullptr;
  const wchar_t* style = nullptr;  // an item text of the style box
  const wchar_t* size = nullptr;   // typed into the size box
  int underline = -1, strikeOut = -1;
  bool setColor = false;
  COLORREF color = 0;
};

void Notify(HWND dialog, int id, int code) {
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, code),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

bool SelectByText(HWND dialog, int id, const wchar_t* text) {
  LRESULT index = SendDlgItemMessageW(dialog, id, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                      reinterpret_cast<LPARAM>(text));
  if (index == CB_ERR) return false;
  SendDlgItemMessageW(dialog, id, CB_SETCURSEL, index, 0);
  Notify(dialog, id, CBN_SELCHANGE);
  return true;
}

bool SelectColor(HWND dialog, COLORREF color) {
  LRESULT count = SendDlgItemMessageW(dialog, kColorCombo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    if (static_cast<COLORREF>(SendDlgItemMessageW(dialog, kColorCombo, CB_GETITEMDATA, i, 0)) ==
        color) {
      SendDlgItemMessageW(dialog, kColorCombo, CB_SETCURSEL, i, 0);
      Notify(dialog, kColorCombo, CBN_SELCHANGE);
      return true;
    }
  }
  return false;
}

void SetCheck(HWND dialog, int id, int checked) {
  if (checked < 0) return;
  CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
  Notify(dialog, id, BN_CLICKED);
}

std::wstring ItemText(HWND dialog, int id) { return TextOf(GetDlgItem(dialog, id)); }

// Runs the font action with the five parameter texts. The driver reads the
// dialog, then makes the choice and presses OK (accept) or cancels.
// `failures` collects what the driver could not do.
FontDialogSeen RunFont(std::initializer_list<const char*> parameters, bool accept,
                       const FontChoice& choice = {}, std::string* failures = nullptr) {
  FontDialogSeen seen;
  std::string problems;
  Driver driver([&] {
    HWND dialog = WaitForWindow(L"#32770");
    if (!dialog) return;
    seen.found = true;
    Sleep(50);
    seen.rect = WindowRect(dialog);
    seen.face = ItemText(dialog, kFaceCombo);
    seen.style = ItemText(dialog, kStyleCombo);
    seen.size = ItemText(dialog, kSizeCombo);
    seen.underline = IsDlgButtonChecked(dialog, kUnderlineCheck) == BST_CHECKED;
    seen.strikeOut = IsDlgButtonChecked(dialog, kStrikeOutCheck) == BST_CHECKED;
    if (accept) {
      if (choice.face && !SelectByText(dialog, kFaceCombo, choice.face)) problems += "face ";
      if (choice.style && !SelectByText(dialog, kStyleCombo, choice.style)) problems += "style ";
      if (choice.size) {
        SendDlgItemMessageW(dialog, kSizeCombo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        SetDlgItemTextW(dialog, kSizeCombo, choice.size);
      }
      SetCheck(dialog, kUnderlineCheck, choice.underline);
      SetCheck(dialog, kStrikeOutCheck, choice.strikeOut);
      if (choice.setColor && !SelectColor(dialog, choice.color)) problems += "colour ";
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    } else {
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
    if (!WaitForGone(dialog)) {
      problems += "still-open ";
      CancelAllDialogs();
    }
  });
  ClearHostCalls();
  EXPECT_EQ(Exec(1, parameters), 1u);
  driver.Join();
  if (failures) *failures = problems;
  else EXPECT_EQ(problems, "");
  return seen;
}

Vars Chosen(const char* face, const char* points, const char* hex, const char* rgb,
            const char* charSet, const char* style) {
  return {{"xr_Dialogs_FontSelected_Status", "True"},
          {"xr_Dialogs_FontSelected_Name", face},
          {"xr_Dialogs_FontSelected_Points", points},
          {"xr_Dialogs_FontColorSelected_HEX", hex},
          {"xr_Dialogs_FontColorSelected_RGB", rgb},
          {"xr_Dialogs_FontSelected_CharSet", charSet},
          {"xr_Dialogs_FontSelected_Style", style}};
}

const Vars kCancelled = {{"xr_Dialogs_FontSelected_Status", "False"},
                         {"xr_Dialogs_FontSelected_Name", "<null>"},
                         {"xr_Dialogs_FontSelected_Points", "<null>"},
                         {"xr_Dialogs_FontSelected_CharSet", "<null>"},
                         {"xr_Dialogs_FontSelected_Style", "<null>"},
                         {"xr_Dialogs_FontColorSelected_HEX", "<null>"},
                         {"xr_Dialogs_FontColorSelected_RGB", "<null>"}};

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

}  // namespace

TEST(FontSelector, Probe) {
  FontDialogSeen seen = RunFont({"Liberation Serif", "11", "Bold + Italic", "100", "50"}, true);
  printf("face=%s style=%s size=%s u=%d s=%d rect=%ld,%ld\n", Narrow(seen.face).c_str(),
         Narrow(seen.style).c_str(), Narrow(seen.size).c_str(), seen.underline, seen.strikeOut,
         seen.rect.left, seen.rect.top);
  for (auto& v : RecordedVariables()) printf("%s=%s\n", v.first.c_str(), v.second.c_str());
  FontChoice half;
  half.size = L"10.5";
  RunFont({"Liberation Sans", "12", "", "0", "0"}, true, half);
  for (auto& v : RecordedVariables()) printf("%s=%s\n", v.first.c_str(), v.second.c_str());
}
