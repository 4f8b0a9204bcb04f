// VelSelfTest.exe: runs every test program of the unpacked self-test package
// (win32\*.exe, and win64\*.exe on a 64-bit Windows), each in its own process
// with a time limit, twice: as it is (the classic controls) and themed, with
// the Common Controls 6 assembly active as in a host with visual styles. It
// prints a line per run and writes a report of the machine and of every
// failure beside itself, or where it can. Exits 0 only when no run failed,
// crashed or hung.
#include <windows.h>

#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cwctype>
#include <string>
#include <vector>

#include "../wine/themed/common_controls6.h"
#include "machine.h"
#include "result_file.h"
#include "report.h"
#include "run_program.h"
#include "run_report.h"
#include "test_results.h"

namespace {

constexpr DWORD kDefaultLimitSeconds = 300;
constexpr int kExitFailed = 1, kExitUsage = 2;
constexpr char kUsage[] =
    "Usage: VelSelfTest [--only NAME] [--list] [--report PATH] [--lane 32|64] [--timeout SECONDS]\n"
    "  --only NAME      run only the program NAME (calendar_test, or win64\\calendar_test); repeatable\n"
    "  --list           print the programs that would run, and run none\n"
    "  --report PATH    write the report there (default: VelSelfTest-report.txt beside the runner)\n"
    "  --lane 32|64     run only the 32-bit or only the 64-bit programs\n"
    "  --timeout N      end a run still going after N seconds (default 300)\n";

std::wstring Lower(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(towlower(c));
  return text;
}

std::string ReadFileText(const std::wstring& path) {
  std::string text;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return text;
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got > 0) text.append(buffer, got);
  CloseHandle(file);
  return text;
}

std::wstring FolderOf(const std::wstring& path) {
  size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? L"." : path.substr(0, slash);
}

std::wstring WithoutTrailingSlash(std::wstring path) {
  while (path.size() > 3 && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
  return path;
}

std::wstring ThisProgram() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::wstring TempFolder() {
  wchar_t path[MAX_PATH + 1] = {};
  return GetTempPathW(MAX_PATH + 1, path) ? WithoutTrailingSlash(path) : std::wstring();
}

std::wstring DocumentsFolder() {
  wchar_t path[MAX_PATH] = {};
  return SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, path))
             ? std::wstring(path)
             : std::wstring();
}

// Whether the ANSI code page spells path, which the test programs receive
// through their narrow arguments.
bool SpelledByCodePage(const std::wstring& path) {
  if (GetACP() == CP_UTF8) return true;
  BOOL lossy = FALSE;
  int bytes = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path.c_str(), -1, nullptr, 0,
                                  nullptr, &lossy);
  return bytes > 0 && !lossy;
}

std::wstring ShortForm(const std::wstring& path) {
  wchar_t shortPath[MAX_PATH] = {};
  DWORD length = GetShortPathNameW(path.c_str(), shortPath, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::wstring(shortPath, length) : std::wstring();
}

// A folder for the programs' result files whose path the code page spells:
// the temporary folder, its short form (a user name outside the code page),
// the runner's own folder, or Windows' temporary folder.
std::wstring MakeWorkFolder(const std::wstring& root) {
  const std::wstring temp = TempFolder();
  wchar_t windows[MAX_PATH] = {};
  GetWindowsDirectoryW(windows, MAX_PATH);
  const std::wstring name = L"\\VelSelfTest-" + std::to_wstring(GetCurrentProcessId());
  for (const std::wstring& base : {temp, ShortForm(temp), root, std::wstring(windows) + L"\\Temp"}) {
    if (base.empty() || !SpelledByCodePage(base + name)) continue;
    const std::wstring folder = base + name;
    if (CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS)
      return folder;
  }
  return std::wstring();
}

// Started by a double-click, the console belongs to the runner and closes
// with it: every way out waits until the user has read what it says.
int Finish(int code) {
  DWORD processes[2];
  DWORD mode = 0;
  if (GetConsoleProcessList(processes, 2) == 1 && GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode)) {
    Print("Press Enter to close this window.\n");
    getchar();
  }
  return code;
}

// The version resource's file version, "1.2.0.0", or empty.
std::string FileVersion(const std::wstring& path) {
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  if (size == 0) return std::string();
  std::vector<char> data(size);
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data()) ||
      !VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) || !info)
    return std::string();
  char text[64];
  snprintf(text, sizeof(text), "%u.%u.%u.%u", HIWORD(info->dwFileVersionMS),
           LOWORD(info->dwFileVersionMS), HIWORD(info->dwFileVersionLS),
           LOWORD(info->dwFileVersionLS));
  return text;
}

struct Lane {
  int bits;
  std::wstring folderName;  // win32, win64
  std::wstring folder;
  bool runs = true;
  std::string whyNot;
  std::vector<std::wstring> programs;  // names without .exe, sorted
  std::string commonControls;          // what the first themed run said it loaded
};

std::vector<std::wstring> ProgramsIn(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\*.exe").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    std::wstring name = found.cFileName;
    names.push_back(name.substr(0, name.size() - 4));
  } while (FindNextFileW(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end(),
            [](const std::wstring& a, const std::wstring& b) { return Lower(a) < Lower(b); });
  return names;
}

bool Wanted(const Lane& lane, const std::wstring& program, const std::vector<std::wstring>& only) {
  if (only.empty()) return true;
  std::wstring bare = Lower(program), inLane = Lower(lane.folderName) + L"\\" + bare;
  for (std::wstring name : only) {
    name = Lower(name);
    std::replace(name.begin(), name.end(), L'/', L'\\');
    if (name.size() > 4 && name.compare(name.size() - 4, 4, L".exe") == 0)
      name.resize(name.size() - 4);
    if (name == bare || name == inLane) return true;
  }
  return false;
}

struct Tally {
  int counts[kOutcomes] = {};
  int notRun = 0;  // programs
  bool any(Outcome o) const { return counts[static_cast<int>(o)] > 0; }
  int runs() const {
    int total = 0;
    for (int count : counts) total += count;
    return total;
  }
};

struct Options {
  std::vector<std::wstring> only;
  bool list = false;
  std::wstring report;
  int lane = 0;
  DWORD limitSeconds = kDefaultLimitSeconds;
};

bool ParseOptions(int argc, wchar_t** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    std::wstring arg = argv[i];
    bool hasValue = i + 1 < argc;
    if (arg == L"--list") {
      options.list = true;
    } else if (arg == L"--only" && hasValue) {
      options.only.push_back(argv[++i]);
    } else if (arg == L"--report" && hasValue) {
      options.report = argv[++i];
    } else if (arg == L"--lane" && hasValue) {
      options.lane = _wtoi(argv[++i]);
      if (options.lane != 32 && options.lane != 64) return false;
    } else if (arg == L"--timeout" && hasValue) {
      int seconds = _wtoi(argv[++i]);
      if (seconds <= 0) return false;
      options.limitSeconds = static_cast<DWORD>(seconds);
    } else {
      return false;
    }
  }
  return true;
}

std::string MachineSection(const Machine& m, const std::vector<Lane>& lanes, const std::string& temp) {
  char line[1024];
  std::string s = "Machine\n";
  auto add = [&](const std::string& label, const std::string& value) {
    snprintf(line, sizeof(line), "  %-18s%s\n", label.c_str(), value.c_str());
    s += line;
  };
  add("Windows:", m.windows);
  add("Windows bitness:", m.windows64 ? "64-bit" : "32-bit");
  add("Runner:", std::to_string(m.runnerBits) + "-bit");
  add("Under Wine:", m.wine.empty() ? "no"
                                    : "yes, Wine " + m.wine +
                                          (m.wineHost.empty() ? "" : " on " + m.wineHost));
  add("ANSI code page:", std::to_string(m.ansiCodePage));
  add("OEM code page:", std::to_string(m.oemCodePage));
  add("User locale:", m.userLocale);
  add("UI language:", m.uiLanguage);
  add("Screen:", std::to_string(m.screenWidth) + " x " + std::to_string(m.screenHeight) + " at " +
                     std::to_string(m.dpiX) + " x " + std::to_string(m.dpiY) + " DPI");
  add("Visual styles:", m.visualStyles);
  add("Temporary folder:", temp);
  for (const Lane& lane : lanes) {
    std::wstring dll = lane.folder + L"\\VelDialogs.dll";
    std::string version = FileVersion(dll);
    std::string value = Utf8(lane.folderName) + "\\VelDialogs.dll" +
                        (version.empty() ? "" : " " + version) + ": ";
    if (lane.runs)
      value += "run in " + std::to_string(lane.bits) + "-bit test programs";
    else
      value += "not run: " + lane.whyNot;
    add(std::to_string(lane.bits) + "-bit DLL:", value);
    if (!lane.commonControls.empty()) add("Themed, " + std::to_string(lane.bits) + "-bit:", lane.commonControls);
  }
  return s;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  // Inherited by every program: a crash ends it, without a dialog to wait on.
  QuietErrorMode();
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    PrintError(kUsage);
    return Finish(kExitUsage);
  }
  const std::wstring root = FolderOf(ThisProgram());
  const Machine machine = DescribeMachine();

  std::vector<Lane> lanes(2);
  lanes[0].bits = 32, lanes[0].folderName = L"win32";
  lanes[1].bits = 64, lanes[1].folderName = L"win64";
  for (Lane& lane : lanes) {
    lane.folder = root + L"\\" + lane.folderName;
    lane.programs = ProgramsIn(lane.folder);
    if (lane.bits == 64 && !machine.windows64) {
      lane.runs = false;
      lane.whyNot = "this Windows is 32-bit";
    }
  }
  const bool packageHere = lanes[0].programs.size() + lanes[1].programs.size() > 0;
  if (options.lane) {
    lanes.erase(std::remove_if(lanes.begin(), lanes.end(),
                               [&](const Lane& l) { return l.bits != options.lane; }),
                lanes.end());
  }
  for (Lane& lane : lanes) {
    lane.programs.erase(std::remove_if(lane.programs.begin(), lane.programs.end(),
                                       [&](const std::wstring& p) { return !Wanted(lane, p, options.only); }),
                        lane.programs.end());
  }
  size_t total = 0;
  for (const Lane& lane : lanes) total += lane.programs.size();
  if (total == 0) {
    if (!packageHere) {
      // What Explorer does when the runner is started from inside the zip:
      // it extracts that one file into a temporary folder.
      PrintError("VelSelfTest: no test programs in win32\\ or win64\\ beside the runner, in " +
                 Utf8(root) +
                 ".\nExtract All first: close this window, right-click the zip file, choose \"Extract All\","
                 " open the extracted folder and start VelSelfTest.exe there.\n");
    } else {
      PrintError("VelSelfTest: no test program of that name or lane\n");
    }
    return Finish(kExitUsage);
  }
  if (options.list) {
    for (const Lane& lane : lanes)
      for (const std::wstring& program : lane.programs)
        Print(Utf8(lane.folderName + L"\\" + program) + "\n");
    return Finish(0);
  }

  const std::wstring work = MakeWorkFolder(root);
  if (work.empty()) {
    PrintError("VelSelfTest: found no folder for the programs' results whose name code page " +
               std::to_string(GetACP()) + " can spell\n");
    return Finish(kExitFailed);
  }
  ResultFile xmlFiles(work);
  const std::vector<std::string> debuggers = PostMortemDebuggers();
  const std::wstring outputFile = work + L"\\output.txt";
  std::string tempNote = Utf8(TempFolder());
  if (FolderOf(work) != TempFolder())
    tempNote += "; the programs' results went through " + Utf8(FolderOf(work)) + ", which code page " +
                std::to_string(GetACP()) + " spells";

  const std::wstring reportName = L"\\VelSelfTest-report.txt";
  std::vector<std::wstring> places{options.report.empty() ? root + reportName : options.report};
  for (const std::wstring& folder : {DocumentsFolder(), TempFolder()})
    if (!folder.empty()) places.push_back(WithoutTrailingSlash(folder) + reportName);
  ReportFile report(places);

  SYSTEMTIME now;
  GetLocalTime(&now);
  char started[64];
  snprintf(started, sizeof(started), "%04u-%02u-%02u %02u:%02u", now.wYear, now.wMonth, now.wDay,
           now.wHour, now.wMinute);
  const std::string title = "VelDialogs self-test " VEL_VERSION " report, started " + std::string(started) +
                            " (local time)\n\n";
  const std::string programsTitle =
      "\nPrograms, each run twice: classic (the controls of a program without a manifest), then themed\n"
      "(Common Controls 6, as in a host with visual styles); time limit " +
      std::to_string(options.limitSeconds) + " s a run\n";
  auto head = [&] { return title + MachineSection(machine, lanes, tempNote) + programsTitle; };
  std::string body;
  Tally tally;

  Print("VelDialogs self-test " VEL_VERSION ": " + std::to_string(total) +
        (total == 1 ? " program, run twice" : " programs, each run twice") +
        "; it presses the dialogs' buttons itself: please do not touch mouse or keyboard.\n");
  bool reportWritten = report.Write(head());
  if (report.path() != places.front())
    Print(report.TakeNotes() + "The report goes to " + Utf8(report.path()) + " instead.\n");

  for (Lane& lane : lanes) {
    for (size_t index = 0; index < lane.programs.size() && lane.runs; ++index) {
      const std::wstring& program = lane.programs[index];
      const std::string name = Utf8(lane.folderName + L"\\" + program);
      for (bool themed : {false, true}) {
        const std::wstring xmlFile = xmlFiles.Prepare();
        std::wstring arguments = xmlFile.empty() ? L"" : L"\"--gtest_output=xml:" + xmlFile + L"\"";
        if (themed) arguments += L" " VEL_COMMON_CONTROLS6_FLAG;
        ProgramRun run = RunProgram(lane.folder + L"\\" + program + L".exe", arguments, lane.folder,
                                    outputFile, options.limitSeconds * 1000, debuggers);
        if (!run.started && run.startError == ERROR_BAD_EXE_FORMAT && index == 0 &&
            lane.bits != machine.runnerBits) {
          // A 64-bit Windows without its 32-bit subsystem (Server Core
          // without WOW64, for one) cannot start them: that is no failure.
          lane.runs = false;
          lane.whyNot = "this Windows runs no " + std::to_string(lane.bits) + "-bit programs (starting " +
                        name + ".exe gave error 193)";
          break;
        }
        RunReport r;
        if (!run.started) {
          r.outcome = Outcome::Failed;
          r.details = "did not start (error " + std::to_string(run.startError) + ")";
        } else {
          r = Report(run, ProgramText(ReadFileText(outputFile)),
                     xmlFile.empty() ? TestResults() : ReadTestXml(ProgramText(ReadFileText(xmlFile))));
        }
        if (themed && r.commonControls.empty() && (r.outcome == Outcome::Passed || r.outcome == Outcome::Skipped)) {
          // Without the line the run tested the classic controls again.
          r.outcome = Outcome::Failed;
          r.details += "; it did not say that Common Controls 6 was active";
        }
        r.notes += xmlFiles.TakeNote();
        if (themed && lane.commonControls.empty()) lane.commonControls = r.commonControls;
        ++tally.counts[static_cast<int>(r.outcome)];

        char line[512];
        snprintf(line, sizeof(line), "  %-30s %-7s %-8s ", name.c_str(), themed ? "themed" : "classic",
                 kOutcomeNames[static_cast<int>(r.outcome)]);
        body += line + r.details + "\n" + r.notes;
        Print(line + r.details + "\n");
        for (const std::string& test : r.failedTests) Print("      failed: " + test + "\n");
        // Rewritten after every run, so that it holds what ran even when the
        // run is stopped.
        reportWritten = report.Write(head() + body);
      }
    }
    if (!lane.runs && !lane.programs.empty()) {
      std::string line = "  " + Utf8(lane.folderName) + "\\*: " + std::to_string(lane.programs.size()) +
                         " programs not run: " + lane.whyNot + "\n";
      tally.notRun += static_cast<int>(lane.programs.size());
      body += line;
      Print(line);
    }
  }
  xmlFiles.DeleteAll();
  DeleteFileW(outputFile.c_str());
  RemoveDirectoryW(work.c_str());

  std::string summary = "\nSummary of " + std::to_string(tally.runs()) + " runs: ";
  for (int i = 0; i < kOutcomes; ++i)
    summary += std::to_string(tally.counts[i]) + " " + kOutcomeNames[i] + (i + 1 < kOutcomes ? ", " : "");
  if (tally.notRun) summary += "; " + std::to_string(tally.notRun) + " programs not run";
  summary += "\n";
  reportWritten = report.Write(head() + body + summary);
  Print(summary + report.TakeNotes());
  Print(reportWritten ? "Report: " + Utf8(report.path()) + "\n" : "VelSelfTest: the report could not be written anywhere\n");

  bool bad = tally.any(Outcome::Failed) || tally.any(Outcome::Crashed) || tally.any(Outcome::Hung);
  return Finish(bad || !reportWritten ? kExitFailed : 0);
}
