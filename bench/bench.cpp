// vel_bench: the figures that the README quotes. Run by `make bench` under
// Wine; prints a Markdown table and writes it to the file named by argv[1].
#include <windows.h>
#include <commdlg.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "rig/driver.h"
#include "rig/host_cells.h"
#include "rig/pe_image.h"
#include "rig/plugin.h"
#include "rig/recorder.h"

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

int32_t __stdcall IgnoreAddAction(int32_t, const char*, const char*, const char*, uint32_t) { return 0; }
int32_t __stdcall IgnoreSetVar(const char*, const char*) { return 0; }

void MeasureFile() {
  HANDLE file = CreateFileA("VelDialogs.dll", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  LARGE_INTEGER size = {};
  GetFileSizeEx(file, &size);
  CloseHandle(file);
  Row("DLL size (stripped), bytes", std::to_string(size.QuadPart), "at most 262144");
  HMODULE module = LoadLibraryExA("VelDialogs.dll", nullptr, DONT_RESOLVE_DLL_REFERENCES);
  std::string dlls;
  for (const std::string& dll : ImportedDlls(module)) dlls += (dlls.empty() ? "" : ", ") + dll;
  FreeLibrary(module);
  Row("Imported DLLs", dlls, "system DLLs only");
}

// Load, register and initialise, then unload, against loading a DLL that
// exports nothing; interleaved so both see the same machine state.
void MeasureLoad() {
  const int kRounds = 200;
  std::vector<double> plugin, empty;
  for (int i = 0; i < kRounds; ++i) {
    double t0 = Seconds();
    HMODULE module = LoadLibraryA("VelDialogs.dll");
    auto reg = reinterpret_cast<void(__stdcall*)(AddActionFn, void*, void*, SetVarFn)>(
        GetProcAddress(module, "_hsRegisterPlugIn@16"));
    auto init = reinterpret_cast<void(__stdcall*)(uint32_t, char**, char**, char**)>(
        GetProcAddress(module, "_hsInitPlugIn@16"));
    std::vector<char*> cells(3, nullptr);
    reg(IgnoreAddAction, nullptr, nullptr, IgnoreSetVar);
    init(0, &cells[0], &cells[1], &cells[2]);
    FreeLibrary(module);
    double t1 = Seconds();
    FreeCells(cells);
    HMODULE baseline = LoadLibraryA("empty_plugin.dll");
    FreeLibrary(baseline);
    double t2 = Seconds();
    plugin.push_back(t1 - t0);
    empty.push_back(t2 - t1);
  }
  double p = Median(plugin), e = Median(empty);
  Row("Load + hsRegisterPlugIn + hsInitPlugIn + unload, median", Format("%.1f us", p * 1e6));
  Row("Load + unload of a DLL that exports nothing, median", Format("%.1f us", e * 1e6));
  Row("Ratio", Format("%.2f", p / e));
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

// Time from the call to the dialog's activation, seen by a CBT hook on this
// thread, so that both paths are measured the same way.
double g_callStart = 0, g_dialogShown = 0;
HHOOK g_cbtHook = nullptr;

LRESULT CALLBACK RecordActivation(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && g_dialogShown == 0 && ClassOf(reinterpret_cast<HWND>(wParam)) == L"#32770")
    g_dialogShown = Seconds();
  return CallNextHookEx(g_cbtHook, code, wParam, lParam);
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

void MeasureColorDialog() {
  g_cbtHook = SetWindowsHookExW(WH_CBT, RecordActivation, nullptr, GetCurrentThreadId());
  std::vector<double> plugin, direct;
  for (int i = 0; i < 30; ++i) {
    plugin.push_back(TimeToDialog([] { Exec(2, {"0", "0"}); }));
    direct.push_back(TimeToDialog([] {
      static COLORREF custom[16] = {};
      CHOOSECOLORA chooser = {};
      chooser.lStructSize = sizeof(chooser);
      chooser.lpCustColors = custom;
      chooser.Flags = CC_RGBINIT | CC_FULLOPEN;
      ChooseColorA(&chooser);
    }));
  }
  UnhookWindowsHookEx(g_cbtHook);
  double p = Median(plugin), d = Median(direct);
  Row("Colour dialog shown after hsExecAction, median", Format("%.2f ms", p * 1e3));
  Row("Colour dialog shown after ChooseColorA, median", Format("%.2f ms", d * 1e3));
  Row("Ratio", Format("%.3f", p / d), "at most 1.05");
}

double ThreadCpuSeconds(HANDLE thread) {
  FILETIME created, exited, kernel, user;
  GetThreadTimes(thread, &created, &exited, &kernel, &user);
  auto toSeconds = [](FILETIME t) { return (double(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) * 1e-7; };
  return toSeconds(kernel) + toSeconds(user);
}

void MeasureIdleEditor() {
  HANDLE mainThread = nullptr;
  DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &mainThread, 0, FALSE,
                  DUPLICATE_SAME_ACCESS);
  double used = -1, elapsed = 0;
  Driver driver([&] {
    HWND editor = WaitForWindow(L"#32770", L"Color Selector");
    if (!editor) return;
    Sleep(1000);
    double cpu0 = ThreadCpuSeconds(mainThread), t0 = Seconds();
    Sleep(10000);
    used = ThreadCpuSeconds(mainThread) - cpu0;
    elapsed = Seconds() - t0;
    PostMessageW(editor, WM_SYSCOMMAND, SC_CLOSE, 0);
    if (!WaitForGone(editor)) CancelAllDialogs();
  });
  char* cells[2] = {NewHostBlock("100"), NewHostBlock("50")};
  Plugin::Get().editAction(2, cells);
  driver.Join();
  for (char* cell : cells) if (cell) GlobalFree(cell);
  CloseHandle(mainThread);
  if (used < 0) {
    Row("CPU of an idle open editor over 10 s", "editor did not open", "under 0.2 %");
    return;
  }
  Row("CPU of an idle open editor over 10 s", Format("%.3f %% of one core", 100.0 * used / elapsed),
      "under 0.2 %");
}

}  // namespace

int main(int argc, char** argv) {
  const char* output = argc > 1 ? argv[1] : "bench-results.md";
  MeasureFile();
  MeasureLoad();
  MeasureDispatch();
  MeasureColorDialog();
  MeasureIdleEditor();

  FILE* file = std::fopen(output, "w");
  if (!file) return 1;
  std::fprintf(file, "| Measure | Figure | Target |\n|---|---|---|\n");
  for (const std::string& row : g_rows) std::fprintf(file, "%s\n", row.c_str());
  std::fclose(file);
  return 0;
}
