// How an editor runs and ends: "Done" and its hand-back, the ways of closing
// without it, keys that must not end it, colours, a re-entrant call, and the
// host's windows kept alive by the modal loop.
#include <gtest/gtest.h>

#include "rig/code_page.h"
#include "rig/driver.h"
#include "rig/editor_session.h"
#include "rig/global_memory_log.h"
#include "rig/host_cells.h"
#include "rig/platform.h"
#include "rig/plugin.h"
#include "rig/reported_high_contrast.h"

namespace {

const wchar_t kFontTitle[] = L"Font Selector";
const wchar_t kColorTitle[] = L"Color Selector";

// A "Done" that changes nothing, so that later closes have something to not repeat.
void DoneOnceInColourEditor() {
  HostCellArray cells({"1", "2"});
  RunEditor(2, cells.data(), kColorTitle, PressDone);
}

void PostKey(HWND target, UINT message, WPARAM key, LPARAM flags = 0) {
  PostMessageW(target, message, key, 1 | flags);
}

// Host code on the editor's thread, as a timer of the host's form would run
// it from the editor's loop.
void CALLBACK DestroyTheEditor(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  for (HWND editor : ProcessWindows(L"#32770")) DestroyWindow(editor);
}

}  // namespace

TEST(EditorFrame, IdsWithoutEditorReturnAtOnceAndTouchNothing) {
  HostCellArray cells({"a", "b", "c", "d", "e"});
  std::vector<char*> before = cells.cells;
  bool sawEditor = false;
  // Should an editor open by mistake, close it so the test fails instead of hanging.
  Driver guard([&] {
    if (HWND window = WaitForWindow(L"#32770", nullptr, 1500)) {
      sawEditor = true;
      PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
  });
  EXPECT_EQ(Plugin::Get().editAction(5, cells.data()), 1u);
  for (int32_t id : {0, 8, 9, -1, 0x10001})
    EXPECT_EQ(Plugin::Get().editAction(id, cells.data()), 0u) << id;
  guard.Join();
  EXPECT_FALSE(sawEditor);
  EXPECT_EQ(cells.cells, before);
  EXPECT_EQ(cells.Text(0), "a");
}

TEST(EditorFrame, DoneHandsBackEveryBoxWholeInOrder) {
  HostCellArray cells({"Arial", nullptr, "Bold", "100", "50"});
  const std::vector<char*> before = cells.cells;
  std::wstring longText(5000, L'x');
  longText += L"end";
  GlobalMemoryLog log(Plugin::Get().module);
  ASSERT_TRUE(log.installed());
  EditorRun run = RunEditor(1, cells.data(), kFontTitle, [&](HWND editor) {
    SetBoxText(editor, 121, L"12");   // a cell holding 0 gets a block
    SetBoxText(editor, 122, L"");     // an emptied box frees its block
    SetBoxText(editor, 123, longText);
    PressDone(editor);
  });
  EXPECT_EQ(HandBackFaults(log.calls(), before, cells.cells), "");
  ASSERT_TRUE(run.found);
  EXPECT_TRUE(run.gone);
  EXPECT_TRUE(run.returnedPromptly);
  EXPECT_EQ(run.result, 1u);
  EXPECT_EQ(cells.Text(0), "Arial");
  EXPECT_EQ(cells.Text(1), "12");
  EXPECT_EQ(CellSize(cells.cells[1]), 3u);
  EXPECT_EQ(cells.cells[2], nullptr);
  EXPECT_EQ(cells.Text(3), std::string(5000, 'x') + "end");
  EXPECT_EQ(cells.Text(4), "50");
}

TEST(EditorFrame, CharactersOutsideTheCodePageComeBackAsItsDefaultCharacter) {
  const std::wstring missing = MissingFromCodePage(2);
  if (missing.size() < 2) GTEST_SKIP() << "code page " << GetACP() << " lacks none of the characters tried";
  // A look-alike that the code page has must not be used in its place.
  std::wstring lookAlike = MissingFromCodePage(1, true);
  if (lookAlike.empty()) lookAlike = missing.substr(0, 1);
  const char defaultChar = CodePageDefaultChar();
  HostCellArray cells({nullptr, nullptr});
  RunEditor(2, cells.data(), kColorTitle, [&](HWND editor) {
    SetBoxText(editor, 120, L"a" + missing + L"b");
    SetBoxText(editor, 121, lookAlike + L"5");
    PressDone(editor);
  });
  EXPECT_EQ(cells.Text(0), std::string("a") + defaultChar + defaultChar + "b");
  EXPECT_EQ(cells.Text(1), std::string(1, defaultChar) + "5");
}

TEST(EditorFrame, TypedCharactersReachTheBoxUnchanged) {
  const SpeltText typed = NonAsciiInCodePage();
  if (typed.empty()) GTEST_SKIP() << "code page " << GetACP() << " has none of the characters tried";
  HostCellArray cells({nullptr, nullptr});
  std::wstring seen;
  RunEditor(2, cells.data(), kColorTitle, [&](HWND editor) {
    HWND box = GetDlgItem(editor, 120);
    for (wchar_t c : L"7" + typed.wide) PostMessageW(box, WM_CHAR, c, 1);
    LetEditorRun();
    seen = BoxText(editor, 120);
    PressDone(editor);
  });
  EXPECT_EQ(seen, L"7" + typed.wide);
  EXPECT_EQ(cells.Text(0), "7" + typed.ansi);
}

TEST(EditorFrame, ClosingWithoutDoneLeavesEveryCellAsItWas) {
  const std::function<void(HWND)> closes[] = {
      CloseFromSystemMenu,  // sent from another thread: served inside the loop's wait
      [](HWND editor) { PostMessageW(editor, WM_SYSCOMMAND, SC_CLOSE, 0); },
      [](HWND editor) {  // Alt+F4 in the focused box
        PostKey(GetDlgItem(editor, 120), WM_SYSKEYDOWN, VK_F4, KF_ALTDOWN << 16);
      },
  };
  for (const auto& close : closes) {
    DoneOnceInColourEditor();  // an earlier "Done" must not count for this editor
    HostCellArray cells({"Arial", "10", "", "1", "2"});
    std::vector<char*> before = cells.cells;
    EditorRun run = RunEditor(1, cells.data(), kFontTitle, [&](HWND editor) {
      SetBoxText(editor, 120, L"changed");
      close(editor);
    });
    ASSERT_TRUE(run.found);
    EXPECT_TRUE(run.gone);
    EXPECT_TRUE(run.returnedPromptly);
    EXPECT_EQ(run.result, 1u);
    EXPECT_EQ(cells.cells, before);
    EXPECT_EQ(cells.Text(0), "Arial");
  }
}

TEST(EditorFrame, AnEditorDestroyedByHostCodeReturnsAtOnceHandsNothingBackAndTheNextOpens) {
  constexpr DWORD kTimerMs = 300;
  DoneOnceInColourEditor();  // an earlier "Done" must not count for this editor
  HostCellArray cells({"1", "2"});
  std::vector<char*> before = cells.cells;
  bool opened = false;
  Driver watch([&] {
    HWND editor = WaitForWindow(L"#32770", kColorTitle);
    opened = editor != nullptr;
    if (editor) SetBoxText(editor, 120, L"changed");
  });
  SetTimer(nullptr, 0, kTimerMs, DestroyTheEditor);
  DWORD start = GetTickCount();
  EXPECT_EQ(Plugin::Get().editAction(2, cells.data()), 1u);
  DWORD took = GetTickCount() - start;
  watch.Join();
  EXPECT_TRUE(opened);
  EXPECT_LT(took, kTimerMs + 1000);
  EXPECT_EQ(cells.cells, before);
  EXPECT_EQ(cells.Text(0), "1");

  EditorRun next = RunEditor(2, cells.data(), kColorTitle, [](HWND editor) {
    SetBoxText(editor, 120, L"3");
    PressDone(editor);
  });
  EXPECT_TRUE(next.found);
  EXPECT_TRUE(next.returnedPromptly);
  EXPECT_EQ(cells.Text(0), "3");
}

TEST(EditorFrame, EscapeAndEnterInABoxDoNotEndTheEditor) {
  HostCellArray cells({"1", "2"});
  bool openAfterKeys = false;
  EditorRun run = RunEditor(2, cells.data(), kColorTitle, [&](HWND editor) {
    HWND box = GetDlgItem(editor, 121);
    for (WPARAM key : {VK_ESCAPE, VK_RETURN}) {
      PostKey(box, WM_KEYDOWN, key);
      PostKey(box, WM_KEYUP, key, (KF_UP | KF_REPEAT) << 16);
    }
    LetEditorRun();
    openAfterKeys = IsWindow(editor) && IsWindowVisible(editor);
    SetBoxText(editor, 121, L"3");
    PressDone(editor);
  });
  EXPECT_TRUE(openAfterKeys);
  EXPECT_TRUE(run.gone);
  EXPECT_TRUE(run.returnedPromptly);
  EXPECT_EQ(cells.Text(1), "3");
}

// The keyboard alone: the editor opens with the focus in its first box, and
// Tab goes through the boxes in order to "Done" and round to the first again.
TEST(EditorFrame, TabGoesFromTheFirstBoxThroughEveryBoxToDoneAndRound) {
  HostCellArray cells({"a", "b", "c", "d", "e"});
  const DWORD editorThread = GetCurrentThreadId();
  std::vector<int> focused;
  RunEditor(1, cells.data(), kFontTitle, [&](HWND editor) {
    for (int step = 0; step < 7; ++step) {
      GUITHREADINFO gui = {};
      gui.cbSize = sizeof(gui);
      GetGUIThreadInfo(editorThread, &gui);
      focused.push_back(GetDlgCtrlID(gui.hwndFocus));
      if (GetParent(gui.hwndFocus) != editor) break;
      PostKey(gui.hwndFocus, WM_KEYDOWN, VK_TAB);
      PostKey(gui.hwndFocus, WM_KEYUP, VK_TAB, (KF_UP | KF_REPEAT) << 16);
      LetEditorRun();
    }
    PressDone(editor);
  });
  EXPECT_EQ(focused, (std::vector<int>{120, 121, 122, 123, 124, 100, 120}));
}

namespace {

// What the editor answers to a colour message for control, sent from the
// driver's thread.
struct ControlColour {
  HBRUSH brush = nullptr;
  COLORREF text = 0, back = 0;
};

ControlColour AskColour(HWND editor, UINT message, HWND control) {
  ControlColour colour;
  HDC dc = CreateCompatibleDC(nullptr);
  colour.brush = reinterpret_cast<HBRUSH>(
      SendMessageW(editor, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
  colour.text = GetTextColor(dc);
  colour.back = GetBkColor(dc);
  DeleteDC(dc);
  return colour;
}

COLORREF BrushColour(HBRUSH brush) {
  LOGBRUSH look = {};
  GetObjectW(brush, sizeof(look), &look);
  return look.lbColor;
}

}  // namespace

TEST(EditorFrame, LabelsAndWindowGetTheirColoursFromBrushesMadeOnce) {
  ControlColour label1, label2, otherLabel, window, edit;
  COLORREF labelBrush = 0, windowBrush = 0;
  HostCellArray cells({"1", "2"});
  RunEditor(2, cells.data(), kColorTitle, [&](HWND editor) {
    label1 = AskColour(editor, WM_CTLCOLORSTATIC, GetDlgItem(editor, 110));
    label2 = AskColour(editor, WM_CTLCOLORSTATIC, GetDlgItem(editor, 110));
    otherLabel = AskColour(editor, WM_CTLCOLORSTATIC, GetDlgItem(editor, 111));
    window = AskColour(editor, WM_CTLCOLORDLG, editor);
    edit = AskColour(editor, WM_CTLCOLOREDIT, GetDlgItem(editor, 120));
    labelBrush = BrushColour(label1.brush);
    windowBrush = BrushColour(window.brush);
    PressDone(editor);
  });
  ASSERT_NE(label1.brush, nullptr);
  EXPECT_EQ(label2.brush, label1.brush);
  EXPECT_EQ(otherLabel.brush, label1.brush);
  EXPECT_EQ(labelBrush, RGB(245, 245, 255));
  EXPECT_EQ(label1.text, RGB(5, 5, 5));
  EXPECT_EQ(label1.back, RGB(245, 245, 255));
  EXPECT_EQ(windowBrush, RGB(245, 245, 255));
  EXPECT_EQ(window.text, GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_EQ(window.back, RGB(245, 245, 255));
  EXPECT_EQ(edit.brush, GetSysColorBrush(COLOR_WINDOW));  // input boxes keep system colours
  // The editor's brushes go with it.
  EXPECT_EQ(GetObjectType(label1.brush), 0u);
  EXPECT_EQ(GetObjectType(window.brush), 0u);
}

// Under High Contrast the editor declines the labels' and the window's colour
// messages, so the dialog manager gives the system's colours; switched off,
// the next message gets the editor's own again.
TEST(EditorFrame, UnderHighContrastLabelsAndWindowTakeTheSystemColours) {
  ReportedHighContrast highContrast(Plugin::Get().module);
  ASSERT_TRUE(highContrast.installed());
  ControlColour label, window, labelAfter, windowAfter;
  HostCellArray cells({"1", "2"});
  RunEditor(2, cells.data(), kColorTitle, [&](HWND editor) {
    label = AskColour(editor, WM_CTLCOLORSTATIC, GetDlgItem(editor, 110));
    window = AskColour(editor, WM_CTLCOLORDLG, editor);
    highContrast.Switch(false);
    labelAfter = AskColour(editor, WM_CTLCOLORSTATIC, GetDlgItem(editor, 110));
    windowAfter = AskColour(editor, WM_CTLCOLORDLG, editor);
    PressDone(editor);
  });
  for (const ControlColour& system : {label, window}) {
    EXPECT_EQ(system.brush, GetSysColorBrush(COLOR_3DFACE));
    EXPECT_EQ(system.text, GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(system.back, GetSysColor(COLOR_3DFACE));
  }
  EXPECT_EQ(labelAfter.text, RGB(5, 5, 5));
  EXPECT_EQ(windowAfter.back, RGB(245, 245, 255));
}

namespace {

// A host window on the test's thread, alive while an editor runs.
constexpr UINT kHostPing = WM_APP + 1;
constexpr UINT kHostEditAgain = WM_APP + 2;
int g_hostPosted = 0;
struct ReentrantCall {
  bool ran = false;
  uint32_t result = 0;
} g_reentrant;
HostCellArray* g_reentrantCells = nullptr;

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kHostPing) {
    if (lParam) ++g_hostPosted;
    return 42;
  }
  if (message == kHostEditAgain) {
    g_reentrant.ran = true;
    g_reentrant.result = Plugin::Get().editAction(static_cast<int32_t>(wParam), g_reentrantCells->data());
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateHostWindow() {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = HostWindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"EditorTestHost";
  RegisterClassW(&wc);
  return CreateWindowExW(0, wc.lpszClassName, L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                         100, nullptr, nullptr, wc.hInstance, nullptr);
}

}  // namespace

TEST(EditorFrame, TheHostsWindowsStayEnabledAndServedWhileTheEditorIsOpen) {
  HWND host = CreateHostWindow();
  ASSERT_NE(host, nullptr);
  g_hostPosted = 0;
  LRESULT sentReply = 0;
  bool hostEnabled = false;
  int postedSeen = 0;
  HostCellArray cells({"1", "2"});
  RunEditor(2, cells.data(), kColorTitle, [&](HWND editor) {
    hostEnabled = IsWindowEnabled(host);
    sentReply = SendMessageW(host, kHostPing, 0, 0);
    for (int i = 0; i < 3; ++i) PostMessageW(host, kHostPing, 0, 1);
    LetEditorRun();
    postedSeen = g_hostPosted;
    PressDone(editor);
  });
  DestroyWindow(host);
  EXPECT_TRUE(hostEnabled);
  EXPECT_EQ(sentReply, 42);
  EXPECT_EQ(postedSeen, 3);
}

TEST(EditorFrame, ASecondCallWhileOpenOpensNothingWritesNothingAndRaisesTheOpenOne) {
  HWND host = CreateHostWindow();
  ASSERT_NE(host, nullptr);
  HostCellArray second({"keep", "these", "x", "y"});
  std::vector<char*> secondBefore = second.cells;
  g_reentrantCells = &second;
  size_t editorsDuring = 0;
  HWND foreground = nullptr, editorSeen = nullptr;
  bool hostInFront = false;
  uint32_t noEditorResult = 1;
  ReentrantCall calls[2];
  HostCellArray first({"1", "2"});
  RunEditor(2, first.data(), kColorTitle, [&](HWND editor) {
    editorSeen = editor;
    hostInFront = SetForegroundWindow(host) != FALSE;
    for (int i = 0; i < 2; ++i) {
      g_reentrant = {};
      SendMessageW(host, kHostEditAgain, i == 0 ? 6 : 4, 0);  // runs on the editor's thread
      calls[i] = g_reentrant;
    }
    editorsDuring = ProcessWindows(L"#32770").size();
    foreground = GetForegroundWindow();
    g_reentrant = {};
    SendMessageW(host, kHostEditAgain, 9, 0);
    noEditorResult = g_reentrant.result;
    SetBoxText(editor, 120, L"5");
    PressDone(editor);
  });
  DestroyWindow(host);
  g_reentrantCells = nullptr;
  for (const ReentrantCall& call : calls) {
    EXPECT_TRUE(call.ran);
    EXPECT_EQ(call.result, 1u);
  }
  EXPECT_EQ(noEditorResult, 0u);
  EXPECT_EQ(editorsDuring, 1u);
  EXPECT_EQ(second.cells, secondBefore);
  EXPECT_EQ(second.Text(0), "keep");
  EXPECT_EQ(first.Text(0), "5");  // the open editor still hands back its own texts
  // Windows' foreground lock refuses a program that the user is not using
  // (another window was clicked while the test ran): then nothing can raise.
  // Wine has no such lock, and its answer may come before the change.
  if (!hostInFront && !RunsUnderWine())
    GTEST_SKIP() << "the foreground lock kept this program from the foreground";
  EXPECT_EQ(foreground, editorSeen);
}

TEST(EditorFrame, AQuitMessageClosesTheEditorAndIsLeftForTheHostsLoop) {
  HostCellArray cells({"1", "2"});
  std::vector<char*> before = cells.cells;
  DWORD hostThread = GetCurrentThreadId();
  EditorRun run = RunEditor(2, cells.data(), kColorTitle, [&](HWND editor) {
    SetBoxText(editor, 120, L"changed");
    PostThreadMessageW(hostThread, WM_QUIT, 7, 0);
  });
  EXPECT_TRUE(run.gone);
  EXPECT_TRUE(run.returnedPromptly);
  EXPECT_EQ(cells.cells, before);
  MSG quit = {};
  ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(quit.wParam, 7u);
}
