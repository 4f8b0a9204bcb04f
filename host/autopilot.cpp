#include "autopilot.h"

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <cstdio>
#include <deque>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "ansi_text.h"
#include "choice.h"
#include "day_cell.h"
#include "host_window.h"
#include "output.h"
#include "screenshot.h"

namespace {

// Control ids of the system's dialogs, as Wine builds them.
constexpr int kColorRedEdit = 706, kColorGreenEdit = 707, kColorBlueEdit = 708;
constexpr int kFileNameBox = 0x47c;                        // cmb13
constexpr int kFontFaceBox = 0x470, kFontSizeBox = 0x472;  // cmb1, cmb3
constexpr int kFontScriptBox = 0x474;                      // cmb5
constexpr int kFolderTree = 0x3741;
constexpr int kEditorDoneButton = 100;
constexpr int kEditorFirstBox = 120;
constexpr int kMaxEditorBoxes = 5;
constexpr UINT kBffmSetSelectionW = WM_USER + 103;

constexpr DWORD kPollMs = 50;
constexpr DWORD kRepaintMs = 100;  // lets a filled-in choice show before the shot
constexpr DWORD kGiveUpMs = 10000;   // an answered window still open after this is cancelled

enum class WindowKind { kNone, kColor, kFile, kFont, kFolder, kEditor, kCalendar, kOther };

const char* KindName(WindowKind kind) {
  switch (kind) {
    case WindowKind::kColor: return "colour dialog";
    case WindowKind::kFile: return "file dialog";
    case WindowKind::kFont: return "font dialog";
    case WindowKind::kFolder: return "folder dialog";
    case WindowKind::kEditor: return "editor";
    case WindowKind::kCalendar: return "calendar";
    default: return "dialog";
  }
}

const char* ShotName(WindowKind kind) {
  switch (kind) {
    case WindowKind::kColor: return "colour";
    case WindowKind::kFile: return "file";
    case WindowKind::kFont: return "font";
    case WindowKind::kFolder: return "folder";
    case WindowKind::kEditor: return "editor";
    case WindowKind::kCalendar: return "calendar";
    default: return "dialog";
  }
}

struct Answered {
  DWORD at;
  bool gaveUp;
};

AutopilotOptions g_options;
std::thread g_thread;
std::atomic<bool> g_stop{false};
std::mutex g_answerLock;
std::deque<std::string> g_answers;
std::map<HWND, Answered> g_answered;  // autopilot thread only
int g_shotCount = 0;                  // autopilot thread only

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

std::string TitleOf(HWND window) {
  wchar_t title[256] = {};
  GetWindowTextW(window, title, 256);
  return WideToAnsi(title);
}

struct DescendantQuery {
  int id;
  const wchar_t* className;  // any class when null
  HWND found;
};

BOOL CALLBACK MatchDescendant(HWND window, LPARAM lParam) {
  auto* q = reinterpret_cast<DescendantQuery*>(lParam);
  if ((q->id < 0 || GetDlgCtrlID(window) == q->id) &&
      (!q->className || ClassOf(window) == q->className)) {
    q->found = window;
    return FALSE;
  }
  return TRUE;
}

// File dialogs nest their controls in the hook's child dialog.
HWND Descendant(HWND parent, int id, const wchar_t* className = nullptr) {
  DescendantQuery q{id, className, nullptr};
  EnumChildWindows(parent, MatchDescendant, reinterpret_cast<LPARAM>(&q));
  return q.found;
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM lParam) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid == GetCurrentProcessId() && IsWindowVisible(window))
    reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(window);
  return TRUE;
}

WindowKind Classify(HWND window) {
  HWND calendar = Descendant(window, -1, MONTHCAL_CLASSW);
  if (calendar && IsWindowVisible(calendar)) return WindowKind::kCalendar;
  if (ClassOf(window) != L"#32770") return WindowKind::kNone;
  HWND done = Descendant(window, kEditorDoneButton, L"Button");
  if (done && GetParent(done) == window) return WindowKind::kEditor;
  if (GetDlgItem(window, kColorRedEdit)) return WindowKind::kColor;
  if (Descendant(window, kFolderTree)) return WindowKind::kFolder;
  if (Descendant(window, kFontScriptBox) && Descendant(window, kFontFaceBox))
    return WindowKind::kFont;
  if (Descendant(window, kFileNameBox)) return WindowKind::kFile;
  return WindowKind::kOther;
}

bool TakeAnswer(std::string* choice) {
  std::lock_guard<std::mutex> hold(g_answerLock);
  if (g_answers.empty()) return false;
  *choice = g_answers.front();
  g_answers.pop_front();
  return true;
}

bool IsCancel(const std::string& choice) { return lstrcmpiA(choice.c_str(), "Cancel") == 0; }

void Press(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(Descendant(dialog, id, L"Button")));
}

void CancelWindow(HWND window, WindowKind kind) {
  if (kind == WindowKind::kEditor) {
    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  } else {
    Press(window, IDCANCEL);
    PostMessageW(window, WM_CLOSE, 0, 0);
  }
}

void SetText(HWND control, const std::string& text) {
  SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(AnsiToWide(text).c_str()));
}

// Selects the list item with exactly this text and tells the dialog, as a
// click in the list would; false when the list has no such item.
bool SelectComboItem(HWND dialog, HWND combo, int id, const std::string& text) {
  std::wstring wide = AnsiToWide(text);
  LRESULT index = SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                               reinterpret_cast<LPARAM>(wide.c_str()));
  if (index == CB_ERR) return false;
  SendMessageW(combo, CB_SETCURSEL, index, 0);
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
  return true;
}

// Each Fill puts the choice into the window as a user would type or pick
// it, and says what it did; Confirm then presses OK (Done in an editor), so
// that the screenshot taken in between shows the choice.
std::string FillColor(HWND dialog, const std::string& choice, bool given) {
  if (!given) return "accepted";
  RgbChoice color;
  if (!ParseColorChoice(choice, &color)) return "cannot read colour \"" + choice + "\"; accepted as shown";
  SetDlgItemInt(dialog, kColorRedEdit, color.red, FALSE);
  SetDlgItemInt(dialog, kColorGreenEdit, color.green, FALSE);
  SetDlgItemInt(dialog, kColorBlueEdit, color.blue, FALSE);
  return "chose " + choice;
}

std::string FillFile(HWND dialog, const std::string& choice, bool given) {
  HWND nameBox = Descendant(dialog, kFileNameBox);
  std::string name = choice;
  if (!given) {
    // Accept the name shown; a dialog with an empty box would not close.
    if (GetWindowTextLengthW(nameBox) > 0) return "accepted";
    name = "autopilot.txt";
  }
  SetText(nameBox, name);
  return "typed " + name;
}

std::string FillFont(HWND dialog, const std::string& choice, bool given) {
  if (!given) return "accepted";
  FontChoice font = ParseFontChoice(choice);
  std::string result = "chose " + choice;
  if (!font.face.empty() &&
      !SelectComboItem(dialog, Descendant(dialog, kFontFaceBox), kFontFaceBox, font.face))
    result = "has no face " + font.face + "; accepted as shown";
  if (font.points > 0) {
    HWND sizeBox = Descendant(dialog, kFontSizeBox);
    if (!SelectComboItem(dialog, sizeBox, kFontSizeBox, std::to_string(font.points))) {
      SendMessageW(sizeBox, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
      SetText(sizeBox, std::to_string(font.points));
    }
  }
  return result;
}

std::string FillFolder(HWND dialog, const std::string& choice, bool given) {
  if (!given) return "accepted";
  std::wstring path = AnsiToWide(choice);
  SendMessageW(dialog, kBffmSetSelectionW, TRUE, reinterpret_cast<LPARAM>(path.c_str()));
  return "chose " + choice;
}

// The items of the editor's drop-down boxes, e.g. " (box 123 offers A, B)",
// so that a transcript shows what the editor offered.
std::string DescribeLists(HWND editor) {
  std::string lists;
  for (int id = kEditorFirstBox; id < kEditorFirstBox + kMaxEditorBoxes; ++id) {
    HWND box = GetDlgItem(editor, id);
    if (!box || ClassOf(box) != L"ComboBox") continue;
    std::string items;
    LRESULT count = SendMessageW(box, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      LRESULT length = SendMessageW(box, CB_GETLBTEXTLEN, i, 0);
      if (length < 0) continue;
      std::wstring item(length + 1, L'\0');
      SendMessageW(box, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&item[0]));
      item.resize(length);
      items += (i ? ", " : "") + WideToAnsi(item);
    }
    lists += " (box " + std::to_string(id) + " offers " + (items.empty() ? "nothing" : items) + ")";
  }
  return lists;
}

// An editor's choice gives the input boxes' new texts, separated by "|".
std::string FillEditor(HWND editor, const std::string& choice, bool given) {
  if (!given) return "pressed Done" + DescribeLists(editor);
  std::vector<std::string> texts = SplitAt(choice, '|');
  for (size_t k = 0; k < texts.size(); ++k)
    if (HWND box = GetDlgItem(editor, kEditorFirstBox + static_cast<int>(k))) SetText(box, texts[k]);
  return "typed " + choice + ", pressed Done" + DescribeLists(editor);
}

void Confirm(HWND window, WindowKind kind) {
  if (kind == WindowKind::kEditor)
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(kEditorDoneButton, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, kEditorDoneButton)));
  else
    Press(window, IDOK);
}

// Finds where to click for the chosen date; *click stays (-1, -1) when the
// date cannot be picked.
std::string AimAtDate(HWND window, const std::string& choice, POINT* click) {
  HWND calendar = Descendant(window, -1, MONTHCAL_CLASSW);
  DateChoice date = ParseDateChoice(choice);
  if (date.day == 0) return "cannot read date \"" + choice + "\"; nothing picked";
  SYSTEMTIME selected = {};
  SendMessageW(calendar, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&selected));
  bool monthShown = selected.wYear == date.year && selected.wMonth == date.month;
  if (date.year != 0 && (!monthShown || selected.wDay == date.day)) {
    // Show the month through another day of it, so the click is a change.
    // A calendar that already shows it keeps its selection (a previous
    // date), so the screenshot shows the calendar as the script opened it.
    SYSTEMTIME shown = {};
    shown.wYear = static_cast<WORD>(date.year);
    shown.wMonth = static_cast<WORD>(date.month);
    shown.wDay = static_cast<WORD>(date.day == 1 ? 2 : 1);
    SendMessageW(calendar, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&shown));
  }
  if (!FindDayCell(calendar, 0, 0, static_cast<WORD>(date.day), click)) return "found no day " + choice + "; nothing picked";
  return "picked " + choice;
}

std::string TakeShot(HWND window, WindowKind kind) {
  if (g_options.shotsFolder.empty()) return std::string();
  char name[64];
  std::snprintf(name, sizeof name, "%02d-%s.png", ++g_shotCount, ShotName(kind));
  std::string path = g_options.shotsFolder + "\\" + name;
  if (!SaveWindowPng(window, path)) return " [no shot: capture of " + std::string(name) + " failed]";
  return " [shot " + std::string(name) + "]";
}

void Answer(HWND window, WindowKind kind) {
  std::string choice;
  if (kind == WindowKind::kCalendar) {
    // A calendar waits for a named day, and only while the script waits in
    // its message loop; otherwise a dialog opened next would lose its answer.
    if (!InMessageLoop()) return;
    {
      std::lock_guard<std::mutex> hold(g_answerLock);
      if (g_answers.empty()) return;
    }
    Sleep(g_options.pauseMs);
    if (!InMessageLoop() || !TakeAnswer(&choice)) return;
    POINT click = {-1, -1};
    std::string what = AimAtDate(window, choice, &click);
    Sleep(kRepaintMs);
    std::string shot = TakeShot(window, kind);
    PrintLine("autopilot: calendar in \"" + TitleOf(window) + "\": " + what + shot);
    if (click.x >= 0) {
      HWND calendar = Descendant(window, -1, MONTHCAL_CLASSW);
      PostMessageW(calendar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(click.x, click.y));
      PostMessageW(calendar, WM_LBUTTONUP, 0, MAKELPARAM(click.x, click.y));
    }
    return;
  }
  Sleep(g_options.pauseMs);
  if (!IsWindow(window) || !IsWindowVisible(window)) return;
  g_answered[window] = {GetTickCount(), false};
  bool given = TakeAnswer(&choice);
  std::string what;
  bool cancel = given && IsCancel(choice);
  switch (cancel ? WindowKind::kOther : kind) {
    case WindowKind::kColor: what = FillColor(window, choice, given); break;
    case WindowKind::kFile: what = FillFile(window, choice, given); break;
    case WindowKind::kFont: what = FillFont(window, choice, given); break;
    case WindowKind::kFolder: what = FillFolder(window, choice, given); break;
    case WindowKind::kEditor: what = FillEditor(window, choice, given); break;
    default:
      cancel = true;
      what = given && IsCancel(choice) ? "cancelled" : "not a dialog the autopilot knows; cancelled";
  }
  Sleep(kRepaintMs);
  std::string shot = TakeShot(window, kind);
  // Told before the window closes, so the line precedes the variables that
  // the answer makes the plug-in write.
  PrintLine(std::string("autopilot: ") + KindName(kind) + " \"" + TitleOf(window) + "\": " + what +
            shot);
  if (cancel)
    CancelWindow(window, kind);
  else
    Confirm(window, kind);
}

void Patrol() {
  while (!g_stop) {
    Sleep(kPollMs);
    for (auto it = g_answered.begin(); it != g_answered.end();) {
      if (!IsWindow(it->first)) {
        it = g_answered.erase(it);
        continue;
      }
      if (!it->second.gaveUp && GetTickCount() - it->second.at > kGiveUpMs) {
        it->second.gaveUp = true;
        PrintLine("autopilot: \"" + TitleOf(it->first) + "\" stayed open; cancelled");
        CancelWindow(it->first, Classify(it->first));
      }
      ++it;
    }
    std::vector<HWND> windows;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
    for (HWND window : windows) {
      if (g_stop) break;
      if (g_answered.count(window)) continue;
      WindowKind kind = Classify(window);
      if (kind != WindowKind::kNone) Answer(window, kind);
    }
  }
}

}  // namespace

void StartAutopilot(const AutopilotOptions& options) {
  g_options = options;
  g_stop = false;
  g_thread = std::thread(Patrol);
}

void StopAutopilot() {
  if (!g_thread.joinable()) return;
  g_stop = true;
  g_thread.join();
}

void QueueAnswer(const std::string& choice) {
  std::lock_guard<std::mutex> hold(g_answerLock);
  g_answers.push_back(choice);
}

std::vector<std::string> DiscardAnswers() {
  std::lock_guard<std::mutex> hold(g_answerLock);
  std::vector<std::string> left(g_answers.begin(), g_answers.end());
  g_answers.clear();
  return left;
}
