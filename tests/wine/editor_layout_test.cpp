// Each design-time editor as the author sees it: window, look and every
// control, driven through hsEditAction.
#include <gtest/gtest.h>

#include <algorithm>

#include "rig/code_page.h"
#include "rig/dialog_face.h"
#include "rig/driver.h"
#include "rig/editor_session.h"
#include "rig/host_cells.h"
#include "rig/library_gdi_objects.h"
#include "rig/platform.h"
#include "rig/plugin.h"

namespace {

// Like the hosts that meet high-DPI screens, this one is DPI-aware, and says
// so before its first window: an unaware one is told 96 and stretched.
const BOOL kDpiAware = SetProcessDPIAware();
// A raster face too large for 96 DPI, as on Windows at high DPI, before the
// first font is made: Wine keeps the faces it has mapped for fonts made alike.
const HighDpiRasterFace kRasterFace;

enum Kind { kLabel, kText, kDrop, kButton };

struct Control {
  Kind kind;
  int id;
  const wchar_t* caption;  // labels and button; boxes show the cell text
  int x, y, w, h;
};

struct Expected {
  int32_t id;
  const wchar_t* title;
  bool topmost;
  std::vector<Control> controls;
};

const Expected kEditors[] = {
    {1, L"Font Selector", true,
     {{kLabel, 110, L"Font", 20, 10, 60, 20}, {kText, 120, nullptr, 80, 10, 200, 20},
      {kLabel, 111, L"Size", 20, 34, 60, 20}, {kText, 121, nullptr, 80, 34, 200, 20},
      {kLabel, 112, L"Style", 20, 58, 60, 20}, {kText, 122, nullptr, 80, 58, 200, 20},
      {kLabel, 113, L"X Pos", 20, 82, 60, 20}, {kText, 123, nullptr, 80, 82, 200, 20},
      {kLabel, 114, L"Y Pos", 20, 106, 60, 20}, {kText, 124, nullptr, 80, 106, 200, 20},
      {kButton, 100, L"Done", 130, 134, 100, 24}}},
    {2, L"Color Selector", true,
     {{kLabel, 110, L"X Pos", 20, 50, 60, 20}, {kText, 120, nullptr, 80, 50, 200, 20},
      {kLabel, 111, L"Y Pos", 20, 84, 60, 20}, {kText, 121, nullptr, 80, 84, 200, 20},
      {kButton, 100, L"Done", 130, 130, 100, 24}}},
    {3, L"Folder Selector", true,
     {{kLabel, 110, L"Title", 20, 10, 60, 20}, {kText, 120, nullptr, 80, 10, 200, 20},
      {kLabel, 111, L"Init Folder", 20, 34, 60, 20}, {kText, 121, nullptr, 80, 34, 200, 20},
      {kLabel, 112, L"X Pos", 20, 58, 60, 20}, {kText, 122, nullptr, 80, 58, 200, 20},
      {kLabel, 113, L"Y Pos", 20, 82, 60, 20}, {kText, 123, nullptr, 80, 82, 200, 20},
      {kButton, 100, L"Done", 130, 126, 100, 24}}},
    {4, L"XR_Dialogs_CalendarStart", false,
     {{kLabel, 110, L"Handle Rect", 20, 18, 80, 20}, {kText, 120, nullptr, 100, 15, 200, 20},
      {kLabel, 111, L"Prev.Date", 20, 43, 80, 20}, {kText, 121, nullptr, 100, 43, 200, 20},
      {kLabel, 112, L"Date Style", 20, 74, 80, 20}, {kDrop, 122, nullptr, 100, 72, 120, 120},
      {kLabel, 113, L"VelScript", 20, 106, 80, 20}, {kDrop, 123, nullptr, 100, 103, 200, 120},
      {kButton, 100, L"Done", 130, 132, 100, 24}}},
    {6, L"Open File Dialog", true,
     {{kLabel, 110, L"Title of the Dialog", 20, 10, 100, 20},
      {kText, 120, nullptr, 120, 10, 200, 20},
      {kLabel, 111, L"Folder", 20, 34, 100, 20}, {kText, 121, nullptr, 120, 34, 200, 20},
      {kLabel, 112, L"Filters ", 20, 58, 116, 20}, {kText, 122, nullptr, 120, 58, 200, 20},
      {kLabel, 113, L"File Mask *.JPG", 20, 82, 116, 20}, {kText, 123, nullptr, 120, 82, 200, 20},
      {kButton, 100, L"Done", 130, 134, 100, 24}}},
    {7, L"Save File Dialog", true,
     {{kLabel, 110, L"Title of the Dialog", 20, 10, 100, 20},
      {kText, 120, nullptr, 120, 10, 200, 20},
      {kLabel, 111, L"Initial Folder", 20, 34, 100, 20}, {kText, 121, nullptr, 120, 34, 200, 20},
      {kLabel, 112, L"FileName", 20, 58, 100, 20}, {kText, 122, nullptr, 120, 58, 200, 20},
      {kLabel, 113, L"FileMask (*.JPG)", 20, 82, 100, 20},
      {kText, 123, nullptr, 120, 82, 200, 20},
      {kButton, 100, L"Done", 130, 134, 100, 24}}},
};

struct KindLook {
  const wchar_t* className;
  DWORD style;
  DWORD exStyle;
};

KindLook LookOf(Kind kind) {
  switch (kind) {
    case kLabel: return {L"Static", 0x50000000, 0};
    case kText: return {L"Edit", 0x50010080, WS_EX_CLIENTEDGE};
    case kDrop: return {L"ComboBox", 0x50010102, 0};
    case kButton: return {L"Button", 0x50010000, 0};
  }
  return {};
}

// What a drop-down box's list may lose of the height it was given: Wine
// sets the selection field apart and trims the rest to whole items, so
// less than the field, one item and the list's border. Both heights follow
// the interface font, which differs between languages.
int Trimmable(HWND box) {
  return static_cast<int>(SendMessageW(box, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0) +
                          SendMessageW(box, CB_GETITEMHEIGHT, 0, 0)) +
         2 * GetSystemMetrics(SM_CYBORDER);
}

struct ControlSeen {
  std::wstring className, text;
  int id = 0;
  DWORD style = 0, exStyle = 0;
  RECT rect = {};
  int droppedHeight = 0, trimmable = 0;
  HFONT font = nullptr;
  std::wstring face;
};

struct EditorSeen {
  std::wstring title;
  RECT outer = {}, client = {};
  DWORD style = 0, exStyle = 0;
  HWND owner = nullptr;
  LOGFONTW font = {};
  std::vector<ControlSeen> controls;
};

EditorSeen Inspect(HWND editor) {
  EditorSeen seen;
  seen.title = TextOf(editor);
  seen.outer = WindowRect(editor);
  GetClientRect(editor, &seen.client);
  seen.style = GetWindowLongW(editor, GWL_STYLE);
  seen.exStyle = GetWindowLongW(editor, GWL_EXSTYLE);
  seen.owner = GetWindow(editor, GW_OWNER);
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(editor, WM_GETFONT, 0, 0));
  GetObjectW(font, sizeof(seen.font), &seen.font);
  for (HWND child : ChildrenInOrder(editor)) {
    ControlSeen c;
    c.className = ClassOf(child);
    c.id = GetDlgCtrlID(child);
    c.text = TextOf(child);
    c.style = GetWindowLongW(child, GWL_STYLE);
    c.exStyle = GetWindowLongW(child, GWL_EXSTYLE);
    c.rect = ClientRectOf(child);
    if (c.id == 122 || c.id == 123) {  // Wine answers CB_OKAY (0), so the result is not tested
      RECT dropped = {};
      SendMessageW(child, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
      c.droppedHeight = dropped.bottom - dropped.top;
      c.trimmable = Trimmable(child);
    }
    c.font = reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0));
    c.face = FaceOf(c.font);
    seen.controls.push_back(c);
  }
  return seen;
}

}  // namespace

TEST(EditorLayout, EveryEditorShowsItsWindowAndControlsPrefilledAndHandsThemBack) {
  if (ScreenDpi() != 96) GTEST_SKIP() << "the tables are the 96 DPI pixels; EditorDpi checks them scaled";
  const SpeltText odd = NonAsciiInCodePage();
  ASSERT_FALSE(odd.empty()) << "code page " << GetACP();
  const std::string second = "sec" + odd.ansi + "nd";
  const std::wstring secondW = L"sec" + odd.wide + L"nd";
  for (const Expected& editor : kEditors) {
    SCOPED_TRACE(editor.id);
    // Odd texts: spaces kept, non-ASCII code-page characters, an empty cell.
    HostCellArray cells({"  first ", second.c_str(), nullptr, "4", "fifth"});
    std::vector<char*> before = cells.cells;
    EditorSeen seen;
    EditorRun run = RunEditor(editor.id, cells.data(), editor.title, [&](HWND window) {
      seen = Inspect(window);
      PressDone(window);
    });
    ASSERT_TRUE(run.found);
    EXPECT_TRUE(run.gone);
    EXPECT_TRUE(run.returnedPromptly);
    EXPECT_EQ(run.result, 1u);

    EXPECT_EQ(seen.title, editor.title);
    EXPECT_EQ(seen.outer.left, 300);
    EXPECT_EQ(seen.outer.top, 300);
    EXPECT_EQ(seen.client.right, 340);
    EXPECT_EQ(seen.client.bottom, 160);
    EXPECT_EQ((seen.exStyle & WS_EX_TOPMOST) != 0, editor.topmost);
    EXPECT_EQ(seen.owner, nullptr);
    EXPECT_EQ(seen.style & (WS_SYSMENU | WS_CAPTION), DWORD(WS_SYSMENU | WS_CAPTION));
    EXPECT_EQ(seen.style & (WS_POPUP | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0u);
    EXPECT_STREQ(seen.font.lfFaceName, L"MS Sans Serif");
    EXPECT_EQ(seen.font.lfHeight, -MulDiv(8, 96, 72));
    EXPECT_EQ(seen.font.lfItalic, 0);  // the charset byte Wine replaces with DEFAULT_CHARSET

    ASSERT_EQ(seen.controls.size(), editor.controls.size());
    int box = 0;
    for (size_t i = 0; i < editor.controls.size(); ++i) {
      const Control& want = editor.controls[i];
      const ControlSeen& got = seen.controls[i];
      SCOPED_TRACE(want.id);
      KindLook look = LookOf(want.kind);
      EXPECT_EQ(got.id, want.id);
      EXPECT_EQ(_wcsicmp(got.className.c_str(), look.className), 0) << got.className;
      EXPECT_EQ(got.style, look.style);
      EXPECT_EQ(got.exStyle, look.exStyle);
      EXPECT_EQ(got.rect.left, want.x);
      EXPECT_EQ(got.rect.top, want.y);
      EXPECT_EQ(got.rect.right - got.rect.left, want.w);
      if (want.kind == kDrop) {
        EXPECT_LE(got.droppedHeight, want.h);
        EXPECT_GT(got.droppedHeight, want.h - got.trimmable);
      } else {
        EXPECT_EQ(got.rect.bottom - got.rect.top, want.h);
      }
      // One font for all: the template's, or in the scalable face where
      // the raster one draws too tall.
      EXPECT_EQ(got.font, seen.controls.front().font);
      EXPECT_EQ(got.face, ExpectedDialogFace(96));
      if (want.caption) {
        EXPECT_EQ(got.text, want.caption);
      } else {
        const std::wstring prefill[] = {L"  first ", secondW, L"", L"4", L"fifth"};
        EXPECT_EQ(got.text, prefill[box++]);
      }
    }

    // "Done" untouched: every edited cell gets a fresh block with its text,
    // the empty one stays 0, cells beyond the action's count are left alone.
    const std::string expected[] = {"  first ", second, "", "4", "fifth"};
    for (int k = 0; k < 5; ++k) {
      if (k < box) {
        EXPECT_EQ(cells.Text(k), expected[k]);
        EXPECT_EQ(CellSize(cells.cells[k]), cells.Text(k).empty() ? 0u : cells.Text(k).size() + 1);
      } else {
        EXPECT_EQ(cells.cells[k], before[k]);
      }
    }
  }
}

namespace {

int Scaled(int value, int dpi) { return MulDiv(value, dpi, 96); }

// What a control shows of its text: the extent in its own font and the
// client area it has for it (a drop-down box's edit field).
struct ControlFit {
  int id = 0;
  RECT rect = {};
  int droppedHeight = 0, trimmable = 0;
  LONG fontHeight = 0;
  std::wstring face;
  SIZE extent = {};
  RECT room = {};
};

ControlFit Measure(HWND control) {
  ControlFit fit;
  fit.id = GetDlgCtrlID(control);
  fit.rect = ClientRectOf(control);
  HWND field = control;
  if (_wcsicmp(ClassOf(control).c_str(), L"ComboBox") == 0) {
    RECT dropped = {};
    SendMessageW(control, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    fit.droppedHeight = dropped.bottom - dropped.top;
    fit.trimmable = Trimmable(control);
    if (HWND edit = FindWindowExW(control, nullptr, L"Edit", nullptr)) field = edit;
  }
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  LOGFONTW logFont = {};
  GetObjectW(font, sizeof(logFont), &logFont);
  fit.fontHeight = logFont.lfHeight;
  fit.face = logFont.lfFaceName;
  std::wstring text = TextOf(control);
  HDC dc = GetDC(field);
  HGDIOBJ old = SelectObject(dc, font);
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &fit.extent);
  SelectObject(dc, old);
  ReleaseDC(field, dc);
  GetClientRect(field, &fit.room);
  return fit;
}

struct EditorAtDpi {
  int dpi = 0;
  RECT outer = {}, client = {}, work = {};
  POINT asked = {};  // the corner of the suggested rectangle, after a change
  RECT suggested = {};  // the suggested rectangle, in a drag
  bool sizeAnswered = false;  // its size is the one the editor asked for
  bool dragging = false;  // measured inside a drag, before it ended
  std::vector<ControlFit> controls;
};

EditorAtDpi MeasureEditor(HWND editor, int dpi) {
  EditorAtDpi seen;
  seen.dpi = dpi;
  seen.outer = WindowRect(editor);
  GetClientRect(editor, &seen.client);
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromWindow(editor, MONITOR_DEFAULTTONEAREST), &monitor);
  seen.work = monitor.rcWork;
  for (HWND child : ChildrenInOrder(editor)) seen.controls.push_back(Measure(child));
  return seen;
}

// As the system announces a move to a screen of dpi: the window's rectangle
// scaled, at a corner where the pointer has dragged it, which a
// per-monitor-aware editor must take as far as its work area allows.
EditorAtDpi ChangeDpi(HWND editor, int from, int to, POINT corner) {
  RECT outer = WindowRect(editor);
  RECT suggested = {corner.x, corner.y, corner.x + MulDiv(outer.right - outer.left, to, from),
                    corner.y + MulDiv(outer.bottom - outer.top, to, from)};
  // Sent: the re-layout is done when the call returns.
  SendMessageW(editor, WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
  EditorAtDpi seen = MeasureEditor(editor, to);
  seen.asked = corner;
  return seen;
}

// Corners that differ from the window's at each change; the last change
// lands the scaled window across the work area's right and bottom edges.
POINT CornerOfChange(HWND editor, size_t change, size_t changes) {
  EditorAtDpi now = MeasureEditor(editor, 0);
  if (change + 1 == changes) {
    LONG width = now.outer.right - now.outer.left, height = now.outer.bottom - now.outer.top;
    return {now.work.right - width / 2, now.work.bottom - height / 2};
  }
  LONG step = 20 * static_cast<LONG>(change + 1);
  return {now.work.left + 10 + step, now.work.top + 15 + step};
}

// The size the editor asks the system for at dpi (WM_GETDPISCALEDSIZE), or
// {0, 0} when it does not answer.
SIZE ScaledSizeAnswer(HWND editor, int dpi) {
  SIZE size = {};
  if (!SendMessageW(editor, 0x02E4 /* WM_GETDPISCALEDSIZE */, dpi, reinterpret_cast<LPARAM>(&size)))
    return SIZE{};
  return size;
}

// The user drags the editor onto a screen of dpi: the system's move loop
// brackets the change, and suggests the size the editor asked for (scaled
// linearly where it does not answer) at the corner under the pointer, here
// across the work area's right and bottom edges. Measured inside the drag,
// then after it.
void DragToDpi(HWND editor, int from, int to, std::vector<EditorAtDpi>& seen) {
  EditorAtDpi now = MeasureEditor(editor, from);
  SIZE size = ScaledSizeAnswer(editor, to);
  bool answered = size.cx != 0;
  if (!answered) {
    size.cx = MulDiv(now.outer.right - now.outer.left, to, from);
    size.cy = MulDiv(now.outer.bottom - now.outer.top, to, from);
  }
  POINT corner = {now.work.right - size.cx / 2, now.work.bottom - size.cy / 2};
  RECT suggested = {corner.x, corner.y, corner.x + size.cx, corner.y + size.cy};
  SendMessageW(editor, WM_ENTERSIZEMOVE, 0, 0);
  SendMessageW(editor, WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
  seen.push_back(MeasureEditor(editor, to));
  seen.back().dragging = true;
  seen.back().suggested = suggested;
  seen.back().sizeAnswered = answered;
  SendMessageW(editor, WM_EXITSIZEMOVE, 0, 0);
  seen.push_back(MeasureEditor(editor, to));
  for (size_t i = seen.size() - 2; i < seen.size(); ++i) seen[i].asked = corner;
}

void ExpectScaledAndReadable(const Expected& editor, const EditorAtDpi& seen) {
  SCOPED_TRACE(seen.dpi);
  int dpi = seen.dpi;
  EXPECT_EQ(seen.client.right, Scaled(340, dpi));
  EXPECT_EQ(seen.client.bottom, Scaled(160, dpi));
  if (!seen.dragging) {
    EXPECT_GE(seen.outer.left, seen.work.left);
    EXPECT_GE(seen.outer.top, seen.work.top);
    EXPECT_LE(seen.outer.right, seen.work.right);
    EXPECT_LE(seen.outer.bottom, seen.work.bottom);
  }
  // The face of an editor opened at that DPI: the raster template face
  // where it draws that small, the scalable one where not.
  const std::wstring face = ExpectedDialogFace(dpi);
  ASSERT_EQ(seen.controls.size(), editor.controls.size());
  for (size_t i = 0; i < editor.controls.size(); ++i) {
    const Control& want = editor.controls[i];
    const ControlFit& got = seen.controls[i];
    SCOPED_TRACE(want.id);
    EXPECT_EQ(got.id, want.id);
    EXPECT_EQ(got.rect.left, Scaled(want.x, dpi));
    EXPECT_EQ(got.rect.top, Scaled(want.y, dpi));
    EXPECT_EQ(got.rect.right - got.rect.left, Scaled(want.w, dpi));
    if (want.kind == kDrop) {
      EXPECT_LE(got.droppedHeight, Scaled(want.h, dpi));
      EXPECT_GT(got.droppedHeight, Scaled(want.h, dpi) - got.trimmable);
    } else {
      EXPECT_EQ(got.rect.bottom - got.rect.top, Scaled(want.h, dpi));
    }
    EXPECT_EQ(got.fontHeight, -MulDiv(8, dpi, 72));
    EXPECT_EQ(got.face, face);
    // Readable: the whole text, one line high, inside what the control shows.
    EXPECT_LE(got.extent.cx, got.room.right - got.room.left);
    EXPECT_LE(got.extent.cy, got.room.bottom - got.room.top);
  }
}

}  // namespace

// At the screen's DPI, and at each DPI a per-monitor-aware host's editor can
// be dragged to: every control is the table's rectangle scaled by DPI / 96,
// in the face an editor opened at that DPI has, every label's, box's and
// button's text fits its control, and the editor stays within the work area,
// except while the user drags it. make test runs this at 96 and 192 DPI,
// with a raster face whose sizes are too large for 96 DPI.
TEST(EditorDpi, EveryEditorScalesItsLayoutAndKeepsItsTextsReadable) {
  ASSERT_TRUE(kDpiAware);
  ASSERT_TRUE(kRasterFace.loaded()) << kRasterFace.why();
  int screenDpi = ScreenDpi();
  // The prefix made for a DPI must really be at it, or this proves nothing.
  if (int wanted = RequestedDpi()) {
    ASSERT_EQ(screenDpi, wanted);
  }
  // Every editor once through the same changes first: the system keeps
  // objects of its own for each font size and control it meets first.
  // Then a drag back to the screen's DPI, which follows a change to a DPI
  // whose face differs from the screen's where the faces differ at all.
  std::vector<int> changes;
  for (int to : {120, 144, 192, 96})
    if (to != screenDpi) changes.push_back(to);
  auto changeAll = [&](HWND window, std::vector<EditorAtDpi>& seen) {
    int from = screenDpi;
    for (size_t i = 0; i < changes.size(); ++i) {
      seen.push_back(ChangeDpi(window, from, changes[i], CornerOfChange(window, i, changes.size())));
      from = changes[i];
    }
    DragToDpi(window, from, screenDpi, seen);
  };
  for (const Expected& editor : kEditors) {
    HostCellArray cells({"a", "b", "c", "d", "e"});
    RunEditor(editor.id, cells.data(), editor.title, [&](HWND window) {
      std::vector<EditorAtDpi> ignored;
      changeAll(window, ignored);
      PressDone(window);
    });
  }
  // The library's own objects, counted exactly: the process's count moves
  // with Wine 10's caches now and then.
  LibraryGdiObjects libraryObjects(Plugin::Get().module);
  ASSERT_TRUE(libraryObjects.installed());
  long before = libraryObjects.live();
  for (const Expected& editor : kEditors) {
    SCOPED_TRACE(editor.id);
    // Texts as wide as the boxes invite, with descenders and capitals.
    HostCellArray cells({"Tahoma Bold Italic", "12", "Underline", "100", "250"});
    std::vector<EditorAtDpi> seen;
    SIZE answer = {};
    EditorRun run = RunEditor(editor.id, cells.data(), editor.title, [&](HWND window) {
      seen.push_back(MeasureEditor(window, screenDpi));
      answer = ScaledSizeAnswer(window, screenDpi);
      changeAll(window, seen);
      PressDone(window);
    });
    ASSERT_TRUE(run.found);
    EXPECT_TRUE(run.gone);
    ASSERT_FALSE(seen.empty());

    // Where the scaled corner leaves room for the window, it is the corner.
    const EditorAtDpi& opened = seen.front();
    LONG width = opened.outer.right - opened.outer.left;
    LONG height = opened.outer.bottom - opened.outer.top;
    if (Scaled(300, screenDpi) + width <= opened.work.right) {
      EXPECT_EQ(opened.outer.left, Scaled(300, screenDpi));
    }
    if (Scaled(300, screenDpi) + height <= opened.work.bottom) {
      EXPECT_EQ(opened.outer.top, Scaled(300, screenDpi));
    }
    // At its own DPI, the size it would ask for is the size it has.
    EXPECT_EQ(answer.cx, width);
    EXPECT_EQ(answer.cy, height);
    for (const EditorAtDpi& at : seen) {
      ExpectScaledAndReadable(editor, at);
      if (&at == &opened) continue;
      if (at.dragging) {
        // Under the pointer: the suggested rectangle, though it crosses the
        // work area's edges.
        EXPECT_EQ(at.outer.left, at.suggested.left);
        EXPECT_EQ(at.outer.top, at.suggested.top);
        if (at.sizeAnswered) {
          EXPECT_EQ(at.outer.right, at.suggested.right);
          EXPECT_EQ(at.outer.bottom, at.suggested.bottom);
        }
        EXPECT_GT(at.outer.right, at.work.right);
        EXPECT_GT(at.outer.bottom, at.work.bottom);
        continue;
      }
      // The dragged-to corner, unless that would cross the work area's
      // edge: then as near to it as the work area allows.
      EXPECT_EQ(at.outer.left, std::min(at.asked.x, at.work.right - (at.outer.right - at.outer.left)));
      EXPECT_EQ(at.outer.top, std::min(at.asked.y, at.work.bottom - (at.outer.bottom - at.outer.top)));
    }
    // Back at the screen's DPI, the faces are those it opened with.
    const EditorAtDpi& back = seen.back();
    ASSERT_EQ(back.controls.size(), opened.controls.size());
    for (size_t i = 0; i < back.controls.size(); ++i)
      EXPECT_EQ(back.controls[i].face, opened.controls[i].face) << back.controls[i].id;
    // The texts travel through every change unharmed.
    EXPECT_EQ(cells.Text(0), "Tahoma Bold Italic");
  }
  // Each change makes a font for its DPI; the editor must delete the one it
  // replaces and the last one with itself.
  EXPECT_EQ(libraryObjects.live(), before);
}

// A per-monitor-v2 host, where the system has them: the editor is laid out,
// and its font sized, for its window's own DPI (which a monitor other than
// the main one may give it), and the size it asks for before a DPI change
// is the exact one it then takes.
TEST(EditorDpi, APerMonitorV2HostsEditorFitsItsWindowsDpiAndAsksForItsExactSize) {
  PerMonitorV2Thread perMonitor;
  if (!perMonitor.active()) GTEST_SKIP() << perMonitor.why();
  using AdjustForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  auto adjust = reinterpret_cast<AdjustForDpi>(
      GetProcAddress(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi"));
  ASSERT_NE(adjust, nullptr);
  const Expected& font = kEditors[0];
  HostCellArray cells({"a", "b", "c", "d", "e"});
  EditorAtDpi seen;
  SIZE atOwn = {}, atDouble = {};
  RECT frameAtDouble = {};
  EditorRun run = RunEditor(font.id, cells.data(), font.title, [&](HWND window) {
    // Measured in the editor's own pixels, not a system-aware thread's.
    PerMonitorV2Thread driverToo;
    int dpi = DpiOfWindow(window);
    seen = MeasureEditor(window, dpi);
    atOwn = ScaledSizeAnswer(window, dpi);
    atDouble = ScaledSizeAnswer(window, 2 * dpi);
    adjust(&frameAtDouble, GetWindowLongW(window, GWL_STYLE), FALSE,
           GetWindowLongW(window, GWL_EXSTYLE), 2 * dpi);
    PressDone(window);
  });
  ASSERT_TRUE(run.found);
  ExpectScaledAndReadable(font, seen);
  EXPECT_EQ(atOwn.cx, seen.outer.right - seen.outer.left);
  EXPECT_EQ(atOwn.cy, seen.outer.bottom - seen.outer.top);
  // Twice the DPI: the client area doubled exactly, in the frame of that DPI.
  EXPECT_EQ(atDouble.cx - (frameAtDouble.right - frameAtDouble.left), Scaled(340, 2 * seen.dpi));
  EXPECT_EQ(atDouble.cy - (frameAtDouble.bottom - frameAtDouble.top), Scaled(160, 2 * seen.dpi));
}
