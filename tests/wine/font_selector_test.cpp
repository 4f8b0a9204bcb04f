// xr_Dialogs_FontSelector against the real font dialog. The faces used here
// are the Liberation fonts that the test set-up installs under Wine, and on
// Windows the faces with their metrics that every Windows has.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "rig/driver.h"
#include "rig/pe_image.h"
#include "rig/platform.h"
#include "rig/plugin.h"
#include "rig/recorder.h"

namespace {

// Control ids of the font dialog.
constexpr int kFaceCombo = 0x470, kStyleCombo = 0x471, kSizeCombo = 0x472;
constexpr int kColorCombo = 0x473, kScriptCombo = 0x474;
constexpr int kStrikeOutCheck = 0x410, kUnderlineCheck = 0x411;

const bool kWine = RunsUnderWine();
const char* const kSans = kWine ? "Liberation Sans" : "Arial";
const char* const kSerif = kWine ? "Liberation Serif" : "Times New Roman";
const char* const kMono = kWine ? "Liberation Mono" : "Courier New";
const wchar_t* const kSansW = kWine ? L"Liberation Sans" : L"Arial";
const wchar_t* const kSerifW = kWine ? L"Liberation Serif" : L"Times New Roman";
const wchar_t* const kMonoW = kWine ? L"Liberation Mono" : L"Courier New";

using Vars = std::vector<std::pair<std::string, std::string>>;

// A style as the dialog has it, whatever the user's language calls it.
struct FontStyle {
  bool bold, italic;
  bool operator==(const FontStyle& other) const {
    return bold == other.bold && italic == other.italic;
  }
};
constexpr FontStyle kRegular = {false, false}, kBold = {true, false};
constexpr FontStyle kBoldItalic = {true, true};

// What the driver saw in the dialog before changing anything.
struct FontDialogSeen {
  bool found = false;
  RECT rect = {};
  std::wstring face, styleText, size;
  FontStyle style = {};
  bool styleRead = false;  // the dialog told its font
  bool underline = false, strikeOut = false;
};

// Changes the driver makes before pressing OK; empty fields stay as shown.
struct FontChoice {
  const wchar_t* face = nullptr;
  const FontStyle* style = nullptr;  // an item of the style box
  const wchar_t* size = nullptr;     // typed into the size box
  int script = -1;                   // the character set of an item of the script box
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

// The dialog's current style and script, asked of the dialog
// (WM_CHOOSEFONT_GETLOGFONT): the style and script boxes name them in the
// user's language.
struct DialogFont {
  bool answered;
  FontStyle style;
  int charSet;
};

DialogFont CurrentFont(HWND dialog) {
  LOGFONTW font = {};
  font.lfWeight = -1;
  SendMessageW(dialog, WM_CHOOSEFONT_GETLOGFONT, 0, reinterpret_cast<LPARAM>(&font));
  if (font.lfWeight < 0) return {false, {false, false}, -1};
  return {true, {font.lfWeight >= FW_BOLD, font.lfItalic != 0}, font.lfCharSet};
}

// Selects, as a click would, the first item of the box after which the
// dialog's font passes `wanted`.
template <typename Wanted>
bool SelectWhere(HWND dialog, int id, Wanted wanted) {
  LRESULT count = SendDlgItemMessageW(dialog, id, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    SendDlgItemMessageW(dialog, id, CB_SETCURSEL, i, 0);
    Notify(dialog, id, CBN_SELCHANGE);
    if (wanted(CurrentFont(dialog))) return true;
  }
  return false;
}

bool SelectStyle(HWND dialog, FontStyle style) {
  return SelectWhere(dialog, kStyleCombo,
                     [&](const DialogFont& font) { return font.answered && font.style == style; });
}

bool SelectScript(HWND dialog, int charSet) {
  return SelectWhere(dialog, kScriptCombo,
                     [&](const DialogFont& font) { return font.answered && font.charSet == charSet; });
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
    seen.styleText = ItemText(dialog, kStyleCombo);
    const DialogFont shown = CurrentFont(dialog);
    seen.styleRead = shown.answered;
    seen.style = shown.style;
    seen.size = ItemText(dialog, kSizeCombo);
    seen.underline = IsDlgButtonChecked(dialog, kUnderlineCheck) == BST_CHECKED;
    seen.strikeOut = IsDlgButtonChecked(dialog, kStrikeOutCheck) == BST_CHECKED;
    if (accept) {
      if (choice.face && !SelectByText(dialog, kFaceCombo, choice.face)) problems += "face ";
      if (choice.style && !SelectStyle(dialog, *choice.style)) problems += "style ";
      if (choice.script >= 0 && !SelectScript(dialog, choice.script)) problems += "script ";
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

// What the library hands to the font dialog, seen through its import of
// ChooseFontW. Wine's size box takes whole points only ("11.5" comes back as
// 110 tenths); Windows' returns 115, so the stand-in can put a size in
// tenths in the dialog's place.
LOGFONTW g_fontOffered;
INT g_tenthsReturned;  // 0: the dialog's own

BOOL WINAPI OfferedChooseFont(CHOOSEFONTW* chooser) {
  g_fontOffered = *chooser->lpLogFont;
  BOOL chosen = ChooseFontW(chooser);
  if (chosen && g_tenthsReturned) chooser->iPointSize = g_tenthsReturned;
  return chosen;
}

// The stand-in is the DLL's ChooseFontW while a guard is alive.
class ChooseFontSeen {
 public:
  explicit ChooseFontSeen(INT tenthsReturned = 0)
      : patch_(Plugin::Get().module, "comdlg32.dll", "ChooseFontW",
               reinterpret_cast<void*>(&OfferedChooseFont)) {
    g_fontOffered = {};
    g_tenthsReturned = tenthsReturned;
  }
  bool installed() const { return patch_.installed(); }

 private:
  ImportPatch patch_;
};

}  // namespace

TEST(FontSelector, OpensAtTheGivenPointCentredOrAtTheOrigin) {
  FontDialogSeen seen = RunFont({kSans, "12", "", "100", "50"}, false);
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.rect.left, 100);
  EXPECT_EQ(seen.rect.top, 50);
  EXPECT_EQ(RecordedVariables(), kCancelled);

  seen = RunFont({kSans, "12", "", nullptr, nullptr}, false);
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.rect.left, 0);
  EXPECT_EQ(seen.rect.top, 0);

  RECT work;
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
  seen = RunFont({kSans, "12", "", "7", "-2147483648"}, false);
  ASSERT_TRUE(seen.found);
  LONG w = seen.rect.right - seen.rect.left, h = seen.rect.bottom - seen.rect.top;
  EXPECT_EQ(seen.rect.left, work.right / 2 - w / 2);
  EXPECT_EQ(seen.rect.top, work.bottom / 2 - h / 2);
}

TEST(FontSelector, OpensOnTheScriptsFaceSizeAndStyle) {
  FontDialogSeen seen = RunFont({kSerif, "12", "Bold + Italic", "0", "0"}, false);
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.face, kSerifW);
  EXPECT_EQ(seen.size, L"12");
  EXPECT_NE(seen.styleText, L"");
  EXPECT_TRUE(seen.styleRead);
  EXPECT_EQ(seen.style, kBoldItalic);
  EXPECT_FALSE(seen.underline);
  EXPECT_FALSE(seen.strikeOut);

  // Lower case and any separators: the words alone count.
  seen = RunFont({kMono, "9", "strikeout/underline", "0", "0"}, true);
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.face, kMonoW);
  EXPECT_EQ(seen.size, L"9");
  EXPECT_NE(seen.styleText, L"");
  EXPECT_TRUE(seen.styleRead);
  EXPECT_EQ(seen.style, kRegular);
  EXPECT_TRUE(seen.underline);
  EXPECT_TRUE(seen.strikeOut);
  EXPECT_EQ(RecordedVariables(), Chosen(kMono, "9", "#000000", "0,0,0", "0",
                                        "Underline + StrikeOut"));
}

TEST(FontSelector, AcceptedChoiceIsReportedInItsOrder) {
  FontChoice choice;
  choice.face = kMonoW;
  choice.style = &kBold;
  choice.size = L"14";
  choice.underline = 1;
  choice.strikeOut = 1;
  choice.setColor = true;
  choice.color = RGB(255, 0, 0);
  RunFont({kSans, "12", "Italic", "0", "0"}, true, choice);
  EXPECT_EQ(RecordedVariables(), Chosen(kMono, "14", "#FF0000", "255,0,0", "0",
                                        "Bold + Underline + StrikeOut"));

  FontChoice teal;
  teal.setColor = true;
  teal.color = RGB(0, 128, 128);
  RunFont({kSerif, "20", "", "0", "0"}, true, teal);
  EXPECT_EQ(RecordedVariables(),
            Chosen(kSerif, "20", "#008080", "0,128,128", "0", "Normal"));

  // The script is the dialog's, not the preset one; a size in tenths is
  // rounded with its halves to the even neighbour.
  FontChoice cyrillic;
  cyrillic.script = RUSSIAN_CHARSET;
  for (auto size : {std::make_pair(105, "10"), std::make_pair(115, "12"), std::make_pair(106, "11")}) {
    ChooseFontSeen dialog(size.first);
    ASSERT_TRUE(dialog.installed());
    RunFont({kSans, "12", "", "0", "0"}, true, cyrillic);
    EXPECT_EQ(RecordedVariables(),
              Chosen(kSans, size.second, "#000000", "0,0,0", "204", "Normal"));
  }
}

TEST(FontSelector, AFaceNameReachesTheDialogCutTo31CharactersAndItsTerminator) {
  std::string alphabet;
  while (alphabet.size() < 200) alphabet += "abcdefghijklmnopqrstuvwxyz0123456789";
  const std::wstring first31(alphabet.begin(), alphabet.begin() + 31);
  for (size_t length : {31, 32, 200}) {
    SCOPED_TRACE(length);
    ChooseFontSeen dialog;
    ASSERT_TRUE(dialog.installed());
    RunFont({alphabet.substr(0, length).c_str(), "12", "", "0", "0"}, false);
    EXPECT_EQ(std::wstring(g_fontOffered.lfFaceName, 31), first31);
    EXPECT_EQ(g_fontOffered.lfFaceName[31], L'\0');
  }
}

TEST(FontSelector, ColourBoxStartsBlackOnEveryCall) {
  FontChoice red;
  red.setColor = true;
  red.color = RGB(255, 0, 0);
  RunFont({kSans, "12", "", "0", "0"}, true, red);
  ASSERT_EQ(RecordedVariables().at(3).second, "#FF0000");
  RunFont({kSans, "12", "", "0", "0"}, true);
  EXPECT_EQ(RecordedVariables().at(3).second, "#000000");
}

TEST(FontSelector, CancelWritesEmptyTextsInItsOwnOrder) {
  RunFont({kSans, "12", "Bold", "0", "0"}, true);
  ASSERT_EQ(RecordedVariables().at(0).second, "True");
  // A face changed before cancelling reaches the caller's font record, yet
  // the outcome is still a cancel.
  FontChoice changed;
  changed.face = kMonoW;
  FontDialogSeen seen = RunFont({kSans, "12", "Bold", "0", "0"}, false, changed);
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(RecordedVariables(), kCancelled);
}

TEST(FontSelector, EveryStyleNameFedBackOpensOnTheSameStyle) {
  const char* names[] = {"Normal",
                         "Bold",
                         "Italic",
                         "Bold + Italic",
                         "Underline",
                         "Bold + Underline",
                         "Italic + Underline",
                         "Bold + Italic + Underline",
                         "StrikeOut",
                         "Bold + StrikeOut",
                         "Italic + StrikeOut",
                         "Bold + Italic + StrikeOut",
                         "Underline + StrikeOut",
                         "Bold + Underline + StrikeOut",
                         "Italic + Underline + StrikeOut",
                         "Bold + Italic + Underline + StrikeOut"};
  for (const char* name : names) {
    RunFont({kSans, "12", name, "0", "0"}, true);
    EXPECT_EQ(RecordedVariables(),
              Chosen(kSans, "12", "#000000", "0,0,0", "0", name));
  }
  for (auto words : {std::make_pair("SemiBold", "Bold"), std::make_pair("regular", "Normal"),
                     std::make_pair("ITALIC bold", "Bold + Italic")}) {
    RunFont({kSans, "12", words.first, "0", "0"}, true);
    EXPECT_EQ(RecordedVariables(),
              Chosen(kSans, "12", "#000000", "0,0,0", "0", words.second))
        << words.first;
  }
}

TEST(FontSelector, HostileTextsOpenTheDialogAndEndAsDocumented) {
  const std::string huge(65536, 'A');
  std::string hugeStyle;
  while (hugeStyle.size() < 65536) hugeStyle += "bold ";
  struct Case { const char *name, *points, *style, *x, *y; } cases[] = {
      {huge.c_str(), "12", hugeStyle.c_str(), "0", "0"},
      {kSans, "1e400", "", "0", "0"},
      {kSans, "-1e400", "", "0", "0"},
      {kSans, "99999999999", "", "0", "0"},
      {kSans, "-12", "", "0", "0"},
      {"\xff\xfe\x80\x81", "abc", "\xe9\xff", "1e400", "-1e400"},
      {kSans, "12", "", "99999999999", "&HFFFFFFFFFF"},
  };
  for (const Case& c : cases) {
    FontDialogSeen seen = RunFont({c.name, c.points, c.style, c.x, c.y}, false);
    EXPECT_TRUE(seen.found) << c.points;
    EXPECT_EQ(RecordedVariables(), kCancelled) << c.points;
  }
  // A size read as nothing asks for no size; the user's choice still counts.
  FontChoice size;
  size.size = L"16";
  RunFont({kSans, "abc", "", "0", "0"}, true, size);
  EXPECT_EQ(RecordedVariables(),
            Chosen(kSans, "16", "#000000", "0,0,0", "0", "Normal"));
}
