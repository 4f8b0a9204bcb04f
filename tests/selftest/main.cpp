// VelSelfTest.exe: runs every test program of the unpacked self-test package
// (win32\*.exe, and win64\*.exe on a 64-bit Windows), each in its own process
// with a time limit, prints a line per program and writes a report of the
// machine and of every failure beside itself. Exits 0 only when nothing
// failed or hung.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwctype>
#include <string>
#include <vector>

#include "machine.h"
#include "run_program.h"
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
    "  --timeout N      end a program still running after N seconds (default 300)\n";

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return std::string();
  int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                  nullptr, 0, nullptr, nullptr);
  std::string out(bytes, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &out[0], bytes,
                      nullptr, nullptr);
  return out;
}

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

bool WriteFileText(const std::wstring& path, const std::string& text) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == text.size();
}

std::wstring FolderOf(const std::wstring& path) {
  size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? L"." : path.substr(0, slash);
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

// "file:line\ntext" as "text (file:line)", on one line.
std::string OneLine(const std::string& message) {
  size_t newline = message.find('\n');
  std::string where = newline == std::string::npos ? std::string() : message.substr(0, newline);
  std::string text = newline == std::string::npos ? message : message.substr(newline + 1);
  std::replace(text.begin(), text.end(), '\n', ' ');
  std::replace(text.begin(), text.end(), '\r', ' ');
  return where.empty() ? text : text + " (" + where + ")";
}

std::string Indented(const std::string& text, const char* indent) {
  std::string out = indent;
  for (char c : text) {
    if (c == '\r') continue;
    out += c;
    if (c == '\n') out += indent;
  }
  return out;
}

// The last lines of a program's output, for a program that left no results.
std::string Tail(const std::string& output, int lines) {
  size_t at = output.size();
  while (at > 0 && (output[at - 1] == '\n' || output[at - 1] == '\r')) --at;
  size_t end = at;
  for (int seen = 0; at > 0; --at)
    if (output[at - 1] == '\n' && ++seen == lines) break;
  return output.substr(at, end - at);
}

enum class Outcome { Passed, Failed, Hung, Skipped };
const char* const kOutcomeNames[] = {"passed", "failed", "hung", "skipped"};

struct Tally {
  int counts[4] = {};
  bool any(Outcome o) const { return counts[static_cast<int>(o)] > 0; }
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

std::string MachineSection(const Machine& m, const std::vector<Lane>& lanes) {
  char line[512];
  std::string s = "Machine\n";
  auto add = [&](const char* label, const std::string& value) {
    snprintf(line, sizeof(line), "  %-18s%s\n", label, value.c_str());
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
  for (const Lane& lane : lanes) {
    std::wstring dll = lane.folder + L"\\VelDialogs.dll";
    std::string version = FileVersion(dll);
    std::string value = Utf8(lane.folderName) + "\\VelDialogs.dll" +
                        (version.empty() ? "" : " " + version) + ": ";
    if (lane.runs)
      value += "run in " + std::to_string(lane.bits) + "-bit test programs";
    else
      value += "not run: " + lane.whyNot;
    add((std::to_string(lane.bits) + "-bit DLL:").c_str(), value);
  }
  return s;
}

void Print(const std::string& text) {
  fputs(text.c_str(), stdout);
  fflush(stdout);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    fputs(kUsage, stderr);
    return kExitUsage;
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
    fputs(options.only.empty() ? "VelSelfTest: no test programs in win32\\ or win64\\ beside the runner\n"
                               : "VelSelfTest: no test program of that name\n",
          stderr);
    return kExitUsage;
  }
  if (options.list) {
    for (const Lane& lane : lanes)
      for (const std::wstring& program : lane.programs)
        Print(Utf8(lane.folderName + L"\\" + program) + "\n");
    return 0;
  }

  const std::wstring reportPath =
      options.report.empty() ? root + L"\\VelSelfTest-report.txt" : options.report;
  wchar_t tempBase[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, tempBase);
  const std::wstring work = std::wstring(tempBase) + L"VelSelfTest-" + std::to_wstring(GetCurrentProcessId());
  CreateDirectoryW(work.c_str(), nullptr);
  const std::wstring xmlFile = work + L"\\results.xml", outputFile = work + L"\\output.txt";

  SYSTEMTIME now;
  GetLocalTime(&now);
  char started[64];
  snprintf(started, sizeof(started), "%04u-%02u-%02u %02u:%02u", now.wYear, now.wMonth, now.wDay,
           now.wHour, now.wMinute);
  // UTF-8 with its mark, so that Notepad on Windows 7 reads it right too.
  std::string head = "\xEF\xBB\xBFVelDialogs self-test " VEL_VERSION " report, started " +
                     std::string(started) + " (local time)\n\n" + MachineSection(machine, lanes) +
                     "\nPrograms (time limit " + std::to_string(options.limitSeconds) + " s each)\n";
  std::string body;
  Tally tally;
  bool reportWritten = true;

  Print("VelDialogs self-test " VEL_VERSION ": " + std::to_string(total) +
        " programs; it presses the dialogs' buttons itself: please do not touch mouse or keyboard.\n");
  for (const Lane& lane : lanes) {
    if (!lane.runs) {
      if (lane.programs.empty()) continue;
      std::string line = "  " + Utf8(lane.folderName) + "\\*: " + std::to_string(lane.programs.size()) +
                         " programs not run: " + lane.whyNot + "\n";
      body += line;
      Print(line);
      continue;
    }
    for (const std::wstring& program : lane.programs) {
      DeleteFileW(xmlFile.c_str());
      ProgramRun run = RunProgram(lane.folder + L"\\" + program + L".exe",
                                  L"\"--gtest_output=xml:" + xmlFile + L"\"", lane.folder, outputFile,
                                  options.limitSeconds * 1000);
      std::string output = ReadFileText(outputFile);
      TestResults results = ReadTestXml(ReadFileText(xmlFile));

      Outcome outcome;
      std::string details, notes;
      char figures[128];
      if (!run.started) {
        outcome = Outcome::Failed;
        details = "did not start (error " + std::to_string(run.startError) + ")";
      } else if (run.hung) {
        outcome = Outcome::Hung;
        std::string in = UnfinishedTest(output);
        snprintf(figures, sizeof(figures), "ended at the limit after %.1f s", run.seconds);
        details = figures + (in.empty() ? std::string() : ", in " + in);
      } else if (run.exitCode != 0 || !results.failures.empty() || !results.haveXml) {
        outcome = Outcome::Failed;
        snprintf(figures, sizeof(figures), "exit code %lu, %.1f s",
                 static_cast<unsigned long>(run.exitCode), run.seconds);
        details = figures;
        if (!results.haveXml) {
          // A crash or an abort: no results file, only the console output.
          std::string in = UnfinishedTest(output);
          if (!in.empty()) details += ", ended in " + in;
          for (const std::string& test : FailedTestsInOutput(output)) notes += "    failed: " + test + "\n";
          notes += "    last output:\n" + Indented(Tail(output, 15), "      ") + "\n";
        }
      } else if (results.run > 0 && results.skips.size() == static_cast<size_t>(results.run)) {
        outcome = Outcome::Skipped;
        details = OneLine(results.skips.front().message);
      } else {
        outcome = Outcome::Passed;
        snprintf(figures, sizeof(figures), "%d tests, %.1f s", results.run, run.seconds);
        details = figures;
      }
      if (results.haveXml) {
        if (!results.failures.empty())
          details += ", " + std::to_string(results.failures.size()) + " failures";
        if (!results.skips.empty() && outcome != Outcome::Skipped)
          details += ", " + std::to_string(results.skips.size()) + " skipped";
        for (const TestNote& note : results.failures)
          notes += "    failed: " + note.test + "\n" + Indented(note.message, "      ") + "\n";
        if (outcome != Outcome::Skipped)
          for (const TestNote& note : results.skips)
            notes += "    skipped: " + note.test + ": " + OneLine(note.message) + "\n";
      }
      ++tally.counts[static_cast<int>(outcome)];

      char line[256];
      snprintf(line, sizeof(line), "  %-30s %-8s ", Utf8(lane.folderName + L"\\" + program).c_str(),
               kOutcomeNames[static_cast<int>(outcome)]);
      body += line + details + "\n" + notes;
      Print(line + details + "\n");
      std::string lastFailed;
      for (const TestNote& note : results.failures) {
        if (note.test != lastFailed) Print("      failed: " + note.test + "\n");
        lastFailed = note.test;
      }
      // The report is rewritten after every program, so that it holds what
      // ran even when the run is stopped.
      reportWritten = WriteFileText(reportPath, head + body);
    }
  }
  DeleteFileW(xmlFile.c_str());
  DeleteFileW(outputFile.c_str());
  RemoveDirectoryW(work.c_str());

  std::string summary = "\nSummary: " + std::to_string(tally.counts[0]) + " passed, " +
                        std::to_string(tally.counts[1]) + " failed, " + std::to_string(tally.counts[2]) +
                        " hung, " + std::to_string(tally.counts[3]) + " skipped\n";
  reportWritten = WriteFileText(reportPath, head + body + summary);
  Print(summary);
  Print(reportWritten ? "Report: " + Utf8(reportPath) + "\n"
                      : "VelSelfTest: could not write the report to " + Utf8(reportPath) + "\n");

  // Started by a double-click, the console closes with the runner: keep it
  // open until the user has read the summary.
  DWORD processes[2];
  DWORD mode = 0;
  if (GetConsoleProcessList(processes, 2) == 1 && GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode)) {
    Print("Press Enter to close this window.\n");
    getchar();
  }
  bool bad = tally.any(Outcome::Failed) || tally.any(Outcome::Hung);
  return bad || !reportWritten ? kExitFailed : 0;
}
