// vel_bench: the figures that the README quotes. Run by `make bench` under
// Wine; prints a Markdown table and writes it to the file named by argv[1].
#include <windows.h>
#include <commdlg.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "VelDialogs.h"
#include "rig/driver.h"
#include "rig/host_cells.h"
#include "rig/pe_image.h"
#include "rig/plugin.h"
#include "rig/recorder.h"
#include "rig/soak_cycles.h"

namespace {

std::vector<std::string> g_rows;

void Row(const std::string& what, const std::string& figure, const std::string& target = "") {
  g_rows.push_back("| " + what + " | " + figure + " | " + target + " |");
  std::printf("%-60s %s %s\n", what.c_str(), figure.c_str(), target.c_str());
  std::fflush(stdout);
}

std::string Format(const char* format, double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof(buffer), format, value);
  return buffer;
}

double Seconds() {
  static LARGE_INTEGER frequency = [] { LARGE_INTEGER f; QueryPerformanceFrequency(&f); return f; }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return double(now.QuadPart) / double(frequency.QuadPart);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

int32_t VEL_CALL IgnoreAddAction(int32_t, const char*, const char*, const char*, uint32_t) { return 0; }
int32_t VEL_CALL IgnoreSetVar(const char*, const char*) { return 0; }

void MeasureFile() {
  HANDLE file = CreateFileA("VelDialogs.dll", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  LARGE_INTEGER size = {};
  GetFileSizeEx(file, &size);
  CloseHandle(file);
  Row("DLL size (stripped), bytes", std::to_string(size.QuadPart), "at most 131072");
  HMODULE module = LoadLibraryExA("VelDialogs.dll", nullptr, DONT_RESOLVE_DLL_REFERENCES);
  std::string dlls;
  for (const std::string& dll : ImportedDlls(module)) dlls += (dlls.empty() ? "" : ", ") + dll;
  FreeLibrary(module);
  Row("Imported DLLs", dlls, "system DLLs only");
}

// Load, register and initialise, then unload, against loading a DLL that
// exports nothing; interleaved so both see the same machine state.
// The system DLLs that the plug-in imports are loaded first, as they are in
// any GUI host, so the ratio shows the plug-in's own cost. Then the parts of
// the difference: the two calls alone, and both files only mapped (no entry
// point run, no import bound).
void MeasureLoad() {
  for (const char* dll : {"comctl32.dll", "comdlg32.dll", "gdi32.dll", "ole32.dll", "shell32.dll", "user32.dll"})
    LoadLibraryA(dll);
  const int kRounds = 400;
  std::vector<double> plugin, calls, empty, pluginMapped, emptyMapped;
  for (int i = 0; i < kRounds; ++i) {
    double t0 = Seconds();
    HMODULE module = LoadLibraryA("VelDialogs.dll");
    auto reg = reinterpret_cast<VelRegisterPlugInProc>(GetProcAddress(module, VEL_EXPORT_REGISTER_PLUGIN));
    auto init = reinterpret_cast<VelInitPlugInProc>(GetProcAddress(module, VEL_EXPORT_INIT_PLUGIN));
    std::vector<char*> cells(3, nullptr);
    double c0 = Seconds();
    reg(IgnoreAddAction, nullptr, nullptr, IgnoreSetVar);
    init(0, &cells[0], &cells[1], &cells[2]);
    double c1 = Seconds();
    FreeLibrary(module);
    double t1 = Seconds();
    FreeCells(cells);
    HMODULE baseline = LoadLibraryA("empty_plugin.dll");
    FreeLibrary(baseline);
    double t2 = Seconds();
    plugin.push_back(t1 - t0);
    calls.push_back(c1 - c0);
    empty.push_back(t2 - t1);
  }
  for (int i = 0; i < kRounds; ++i) {
    double t0 = Seconds();
    FreeLibrary(LoadLibraryExA("VelDialogs.dll", nullptr, DONT_RESOLVE_DLL_REFERENCES));
    double t1 = Seconds();
    FreeLibrary(LoadLibraryExA("empty_plugin.dll", nullptr, DONT_RESOLVE_DLL_REFERENCES));
    double t2 = Seconds();
    pluginMapped.push_back(t1 - t0);
    emptyMapped.push_back(t2 - t1);
  }
  double p = Median(plugin), e = Median(empty);
  Row("Load + hsRegisterPlugIn + hsInitPlugIn + unload, median", Format("%.1f us", p * 1e6));
  Row("Load + unload of a DLL that exports nothing, median", Format("%.1f us", e * 1e6));
  Row("Ratio", Format("%.2f", p / e), "at most 1.15");
  Row("Of the load: hsRegisterPlugIn + hsInitPlugIn, median", Format("%.1f us", Median(calls) * 1e6));
  double pm = Median(pluginMapped), em = Median(emptyMapped);
  Row("Both files only mapped and unmapped (no entry point, no imports), medians",
      Format("%.1f us", pm * 1e6) + Format(" against %.1f us", em * 1e6) + Format(", ratio %.2f", pm / em));
}

void MeasureDispatch() {
  Plugin& plugin = Plugin::Get();
  for (int32_t id : {5, 1000}) {
    int64_t calls = 0;
    double start = Seconds(), now;
    do {
      for (int i = 0; i < 1000; ++i) plugin.execAction(id, nullptr);
      calls += 1000;
      now = Seconds();
    } while (now - start < 1.0);
    Row("hsExecAction calls per second, id " + std::to_string(id), Format("%.0f", calls / (now - start)));
  }
}

// Time from the call to the moment the dialog is shown (its position change
// that carries SWP_SHOWWINDOW), seen by a hook on this thread, so that both
// paths are measured the same way.
double g_callStart = 0, g_dialogShown = 0;
HHOOK g_showHook = nullptr;

LRESULT CALLBACK RecordShow(int code, WPARAM wParam, LPARAM lParam) {
  auto* message = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
  if (code == HC_ACTION && g_dialogShown == 0 && message->message == WM_WINDOWPOSCHANGED &&
      (reinterpret_cast<const WINDOWPOS*>(message->lParam)->flags & SWP_SHOWWINDOW) &&
      ClassOf(message->hwnd) == L"#32770")
    g_dialogShown = Seconds();
  return CallNextHookEx(g_showHook, code, wParam, lParam);
}

double TimeToDialog(const std::function<void()>& open) {
  Driver canceller([] {
    if (HWND dialog = WaitForWindow(L"#32770")) PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  g_dialogShown = 0;
  g_callStart = Seconds();
  open();
  canceller.Join();
  return g_dialogShown - g_callStart;
}

// A hook that places the dialog the way the action's own hook does.
UINT_PTR CALLBACK PlacingHook(HWND dialog, UINT message, WPARAM, LPARAM) {
  if (message == WM_INITDIALOG) {
    SetWindowPos(dialog, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetForegroundWindow(dialog);
  }
  return 0;
}

void ChooseColorDirectly(LPCCHOOKPROC hook) {
  static COLORREF custom[16] = {};
  CHOOSECOLORA chooser = {};
  chooser.lStructSize = sizeof(chooser);
  chooser.lpCustColors = custom;
  chooser.Flags = CC_RGBINIT | CC_FULLOPEN | (hook ? CC_ENABLEHOOK : 0);
  chooser.lpfnHook = hook;
  ChooseColorA(&chooser);
}

// Three ways to the same dialog, in rotating order so none always goes
// first: the action; ChooseColorA with a hook that places the dialog as the
// action does (the library's own overhead); plain ChooseColorA.
void MeasureColorDialog() {
  g_showHook = SetWindowsHookExW(WH_CALLWNDPROCRET, RecordShow, nullptr, GetCurrentThreadId());
  std::function<void()> ways[3] = {[] { Exec(2, {"0", "0"}); },
                                   [] { ChooseColorDirectly(PlacingHook); },
                                   [] { ChooseColorDirectly(nullptr); }};
  std::vector<double> times[3];
  for (int i = 0; i < 45; ++i)
    for (int k = 0; k < 3; ++k) {
      int way = (i + k) % 3;
      times[way].push_back(TimeToDialog(ways[way]));
    }
  UnhookWindowsHookEx(g_showHook);
  double viaPlugin = Median(times[0]), placed = Median(times[1]), plain = Median(times[2]);
  Row("Colour dialog shown after hsExecAction, median", Format("%.2f ms", viaPlugin * 1e3));
  Row("Colour dialog shown after ChooseColorA placing it alike, median", Format("%.2f ms", placed * 1e3));
  Row("Ratio (the library's own overhead)", Format("%.3f", viaPlugin / placed), "at most 1.05");
  Row("Colour dialog shown after plain ChooseColorA, median", Format("%.2f ms", plain * 1e3));
  Row("Ratio (including placement)", Format("%.3f", viaPlugin / plain));
}

// Kernel plus user time, in 100 ns units.
uint64_t ThreadCpuTicks(HANDLE thread) {
  FILETIME created, exited, kernel = {}, user = {};
  GetThreadTimes(thread, &created, &exited, &kernel, &user);
  auto ticks = [](FILETIME t) { return (uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
  return ticks(kernel) + ticks(user);
}

void MeasureIdleEditor() {
  HANDLE mainThread = nullptr;
  DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &mainThread, 0, FALSE,
                  DUPLICATE_SAME_ACCESS);
  double used = 0, elapsed = 0;
  bool opened = false;
  Driver driver([&] {
    HWND editor = WaitForWindow(L"#32770", L"Color Selector");
    if (!editor) return;
    Sleep(1000);
    uint64_t cpu0 = ThreadCpuTicks(mainThread);
    double t0 = Seconds();
    Sleep(10000);
    used = double(ThreadCpuTicks(mainThread) - cpu0) * 1e-7;
    opened = true;
    elapsed = Seconds() - t0;
    PostMessageW(editor, WM_SYSCOMMAND, SC_CLOSE, 0);
    if (!WaitForGone(editor)) CancelAllDialogs();
  });
  char* cells[2] = {NewHostBlock("100"), NewHostBlock("50")};
  Plugin::Get().editAction(2, cells);
  driver.Join();
  for (char* cell : cells) if (cell) GlobalFree(cell);
  CloseHandle(mainThread);
  if (!opened) {
    Row("CPU of an idle open editor over 10 s", "editor did not open", "under 0.2 %");
    return;
  }
  Row("CPU of an idle open editor over 10 s", Format("%.3f %% of one core", 100.0 * used / elapsed),
      "under 0.2 %");
}

// The dialogs and editors, then the calendars, each soaked in turn in this
// one process: Wine's month-calendar control leaks a font per creation and,
// mixed with it, Wine's colour dialog keeps objects unevenly, which would be
// charged to the library.
void SoakRows(const char* part, SoakParts parts, int warmupRounds, int rounds, double budgetSeconds) {
  SoakFigures figures = RunSoak(warmupRounds, rounds, parts, budgetSeconds);
  std::string name = std::string("Soak, ") + part;
  if (!figures.failure.empty()) {
    Row(name, "stopped after " + std::to_string(figures.rounds) + " rounds: " + figures.failure);
    return;
  }
  auto growth = [](double warm, double end) { return Format("%+.2f %%", GrowthPercent(warm, end)); };
  Row(name + ": rounds after " + std::to_string(warmupRounds) + " warm-up rounds",
      std::to_string(figures.rounds) + Format(" in %.0f s", figures.seconds) +
          (figures.budgetReached ? Format(", stopped by the %.0f s budget", budgetSeconds) : ""),
      std::to_string(rounds) + Format(" or %.0f s, whichever comes first", budgetSeconds));
  Row(name + ": GDI objects, warm -> end",
      std::to_string(figures.warm.gdiObjects) + " -> " + std::to_string(figures.end.gdiObjects) + ", " +
          growth(figures.warm.gdiObjects, figures.end.gdiObjects),
      parts == SoakParts::Calendar ? "" : "under 1 %");
  if (parts == SoakParts::Calendar) {
    Row(name + ": GDI objects the bare control leaks per creation (Wine)", Format("%.2f", figures.systemLeakPerRound));
    Row(name + ": GDI growth of the library, the bare control's leak taken off",
        std::to_string(figures.LibraryGdiGrowth()) + ", " +
            growth(figures.warm.gdiObjects, figures.warm.gdiObjects + figures.LibraryGdiGrowth()),
        "under 1 %");
  }
  Row(name + ": USER objects, warm -> end",
      std::to_string(figures.warm.userObjects) + " -> " + std::to_string(figures.end.userObjects) + ", " +
          growth(figures.warm.userObjects, figures.end.userObjects),
      "under 1 %");
  Row(name + ": the library's own memory blocks, warm -> end",
      std::to_string(figures.libraryBlocksWarm) + " -> " + std::to_string(figures.libraryBlocksEnd),
      "equal");
  Row(name + ": private memory, warm -> end",
      Format("%.0f KiB", figures.warm.privateBytes / 1024.0) + " -> " +
          Format("%.0f KiB", figures.end.privateBytes / 1024.0) + ", " +
          growth(double(figures.warm.privateBytes), double(figures.end.privateBytes)),
      "under 1 %");
}

// budget: each soak's time budget in seconds, from tools/bench.sh.
void MeasureSoak(double budget) {
  const int kWarmupRounds = 20, kRounds = 1000;
  SoakRows("5 dialogs cancelled and 6 editors (Done, Close alternately) per round",
           SoakParts::DialogsAndEditors, kWarmupRounds, kRounds, budget);
  SoakRows("calendar start, pick, stop per round", SoakParts::Calendar, kWarmupRounds, kRounds, budget);
  Row("Soak measures", GdiSource() + "; " + UserSource() + "; " + MemorySource());
}

}  // namespace

// Usage: vel_bench OUTPUT.md SOAK_SECONDS (the budget that tools/bench.sh
// read, the one that its lane limit allows for).
int main(int argc, char** argv) {
  const double budget = argc > 2 ? std::atof(argv[2]) : 0;
  if (budget <= 0) {
    std::fprintf(stderr, "usage: vel_bench OUTPUT.md SOAK_SECONDS (a number above 0)\n");
    return 2;
  }
  const char* output = argv[1];
  MeasureFile();
  MeasureLoad();
  MeasureDispatch();
  MeasureColorDialog();
  MeasureIdleEditor();
  MeasureSoak(budget);

  FILE* file = std::fopen(output, "w");
  if (!file) return 1;
  std::fprintf(file, "| Measure | Figure | Target |\n|---|---|---|\n");
  for (const std::string& row : g_rows) std::fprintf(file, "%s\n", row.c_str());
  std::fclose(file);
  return 0;
}
