#include "rig/soak_cycles.h"

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "rig/dialog_closer.h"
#include "rig/host_cells.h"
#include "rig/host_window.h"
#include "rig/library_gdi_objects.h"
#include "rig/library_heap_blocks.h"
#include "rig/month_calendar.h"
#include "rig/platform.h"
#include "rig/plugin.h"
#include "rig/recorder.h"

namespace {

constexpr int kCalendarControlId = 20;
constexpr DWORD kPickTimeoutMs = 3000;

struct DialogAction {
  int id;
  const char* status;
  std::vector<const char*> parameters;
};

// Windows need not live in C:\windows.
const std::string kWindows = WindowsFolderA();

// Plain parameters: the soak is about resources, the matrix tests are about
// hostile texts.
const DialogAction kDialogActions[] = {
    {1, "xr_Dialogs_FontSelected_Status", {"Tahoma", "10", "Bold", "20", "20"}},
    {2, "xr_Dialogs_ColorSelected_Status", {"20", "20"}},
    {3, "xr_Dialogs_FolderSelected_Status", {"Soak", kWindows.c_str(), "20", "20"}},
    {6, "xr_Dialogs_OpenFile_Status", {"Soak", kWindows.c_str(), "All|*.*", "soak.txt"}},
    {7, "xr_Dialogs_SaveFile_Status", {"Soak", kWindows.c_str(), "soak.txt", "All|*.*"}},
};
const int kEditorIds[] = {1, 2, 3, 4, 6, 7};
constexpr int kMaxCells = 5;
constexpr int kBaselineCreations = 20;
constexpr DWORD kSettleMs = 1000;
// A host pumps between picks; the removed control's objects go meanwhile.
constexpr DWORD kCalendarSettleMs = 100;
// Between measured rounds; the settled counts are the warm and end ones.
constexpr DWORD kRoundSettleMs = 100;

std::string RunDialogAction(const DialogAction& action) {
  ClearHostCalls();
  uint32_t handled;
  int cancelled;
  {
    DialogCloser closer;
    std::vector<char*> cells;
    for (const char* text : action.parameters) cells.push_back(const_cast<char*>(text));
    handled = Plugin::Get().execAction(action.id, cells.data());
    closer.Stop();
    cancelled = closer.dialogsCancelled();
  }
  auto vars = RecordedVariables();
  std::string name = "action " + std::to_string(action.id);
  if (handled != 1) return name + " returned " + std::to_string(handled);
  if (cancelled < 1) return name + " showed no dialog";
  if (vars.empty() || vars[0].first != action.status || vars[0].second != "False")
    return name + " did not report a cancel first";
  return "";
}

std::string RunEditor(int id, EditorEnding ending) {
  ClearHostCalls();
  std::vector<char*> cells(kMaxCells);
  for (int k = 0; k < kMaxCells; ++k) cells[k] = NewHostBlock("soak " + std::to_string(k));
  std::vector<char*> before = cells;
  uint32_t handled;
  int ended;
  {
    DialogCloser closer(ending);
    handled = Plugin::Get().editAction(id, cells.data());
    closer.Stop();
    ended = closer.editorsEnded();
  }
  std::string name = "editor " + std::to_string(id);
  std::string fault;
  if (handled != 1) fault = name + " returned " + std::to_string(handled);
  else if (ended != 1) fault = name + " was ended " + std::to_string(ended) + " times";
  else if (ending == EditorEnding::Close && (cells != before || CellText(cells[0]) != "soak 0"))
    fault = name + " changed cells after Close";
  else if (ending == EditorEnding::Done && CellText(cells[0]) != "done by the closer")
    fault = name + " handed back \"" + CellText(cells[0]) + "\" after Done";
  else if (CellText(cells[1]) != "soak 1")
    fault = name + " changed the second text";
  // The host frees what the cells hold now; blocks that were replaced are
  // already freed by the library.
  FreeCells(cells);
  return fault;
}

std::string RunCalendar(HostWindow& host, int round) {
  ClearHostCalls();
  std::string handle = host.HandleText();
  if (Exec(4, {handle.c_str(), nullptr, "YYYY-MM-DD", "Picked"}) != 1) return "calendar start refused";
  HWND frame = GetWindow(host.handle(), GW_CHILD);
  HWND calendar = frame ? GetDlgItem(frame, kCalendarControlId) : nullptr;
  SYSTEMTIME today = {};
  GetLocalTime(&today);
  WORD day = static_cast<WORD>(10 + round % 5);
  std::string fault;
  if (!calendar || !PostClickOnDay(calendar, today.wYear, today.wMonth, day))
    fault = "no calendar day to pick";
  else if (!PumpUntil([] { return !RecordedScripts().empty(); }, kPickTimeoutMs))
    fault = "the pick ran no subroutine";
  Exec(5, {});
  PumpFor(kCalendarSettleMs);
  if (fault.empty() && GetWindow(host.handle(), GW_CHILD)) fault = "stop left a window behind";
  return fault;
}

std::string RunRound(HostWindow& host, int round, SoakParts parts) {
  if (parts != SoakParts::Calendar) {
    for (const DialogAction& action : kDialogActions)
      if (std::string fault = RunDialogAction(action); !fault.empty()) return fault;
    EditorEnding ending = round % 2 == 0 ? EditorEnding::Done : EditorEnding::Close;
    for (int id : kEditorIds)
      if (std::string fault = RunEditor(id, ending); !fault.empty()) return fault;
  }
  return parts == SoakParts::DialogsAndEditors ? "" : RunCalendar(host, round);
}

double Seconds() {
  LARGE_INTEGER frequency, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return double(now.QuadPart) / double(frequency.QuadPart);
}

// Wine's month-calendar control keeps a font it makes at WM_SETFONT when it
// is destroyed. The library must send that message, so the soak measures
// what the bare control leaks, made and fed a font the same way, and allows
// that much for its calendar rounds.
double SystemCalendarLeakPerRound(HWND host, int creations) {
  HFONT font = CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, 0, 0, 0, 0,
                           L"MS Sans Serif");
  auto once = [&] {
    HWND calendar = CreateWindowExW(WS_EX_CLIENTEDGE, MONTHCAL_CLASSW, L"",
                                    WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP, 0, 0, 300, 200,
                                    host, nullptr, nullptr, nullptr);
    SendMessageW(calendar, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    PumpFor(1);
    DestroyWindow(calendar);
  };
  once();
  long before = MeasureResources().gdiObjects;
  for (int i = 0; i < creations; ++i) once();
  long after = MeasureResources().gdiObjects;
  DeleteObject(font);
  return double(after - before) / creations;
}

// The system releases some objects of a destroyed window a little later:
// counts are taken once the host has pumped its messages for a while.
ResourceCounts SettledResources() {
  PumpFor(kSettleMs);
  return MeasureResources();
}

}  // namespace

double GrowthPercent(double warm, double end) { return warm > 0 ? 100.0 * (end - warm) / warm : 0; }

SoakFigures RunSoak(int warmupRounds, int rounds, SoakParts parts, double budgetSeconds) {
  SoakFigures figures;
  LibraryGdiObjects libraryObjects(Plugin::Get().module);
  LibraryHeapBlocks libraryBlocks(Plugin::Get().module);
  HostWindow host(300, 200);
  for (int round = 0; round < warmupRounds && figures.failure.empty(); ++round)
    figures.failure = RunRound(host, round, parts);
  ClearHostCalls();
  figures.warm = SettledResources();
  if (libraryObjects.installed()) figures.libraryGdiWarm = libraryObjects.live();
  if (libraryBlocks.installed())
    figures.libraryBlocksWarm = libraryBlocks.live(), figures.libraryBytesWarm = libraryBlocks.liveBytes();
  double start = Seconds();
  for (int round = 0; round < rounds && figures.failure.empty(); ++round) {
    if (budgetSeconds > 0 && Seconds() - start >= budgetSeconds) {
      figures.budgetReached = true;
      break;
    }
    figures.failure = RunRound(host, warmupRounds + round, parts);
    ++figures.rounds;
    PumpFor(kRoundSettleMs);
    figures.gdiAfterRound.push_back(MeasureResources().gdiObjects);
  }
  figures.seconds = Seconds() - start;
  ClearHostCalls();
  figures.end = SettledResources();
  if (libraryObjects.installed()) figures.libraryGdiEnd = libraryObjects.live();
  if (libraryBlocks.installed())
    figures.libraryBlocksEnd = libraryBlocks.live(), figures.libraryBytesEnd = libraryBlocks.liveBytes();
  if (parts != SoakParts::DialogsAndEditors)
    figures.systemLeakPerRound = SystemCalendarLeakPerRound(host.handle(), kBaselineCreations);
  return figures;
}
