#include "run_program.h"

#include <algorithm>
#include <cctype>

namespace {

// Owns a handle for the length of one run.
struct Handle {
  HANDLE h = nullptr;
  ~Handle() {
    if (h && h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
};

constexpr DWORD kExitCodeWhenEnded = WAIT_TIMEOUT;
constexpr DWORD kPollMs = 200;
// A post-mortem debugger that reports and ends the program (Wine's winedbg
// --auto) is given this long; one that waits for a user is then ended.
constexpr ULONGLONG kDebuggerGraceMs = 5000;

std::string LowerAscii(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::string NarrowName(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  const std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
  std::string out;
  for (wchar_t c : name) out += c < 128 ? static_cast<char>(c) : '?';
  out = LowerAscii(out);
  return out.find('.') == std::string::npos ? out + ".exe" : out;
}

// The program of a command line: quoted, or up to the first space.
std::string ProgramOfCommand(std::wstring command) {
  command.erase(0, command.find_first_not_of(L" \t"));
  if (command.empty()) return std::string();
  std::wstring program = command[0] == L'"' ? command.substr(1, command.find(L'"', 1) - 1)
                                            : command.substr(0, command.find(L' '));
  return program.empty() ? std::string() : NarrowName(program);
}

std::string ImageName(DWORD processId) {
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
  if (!process) return std::string();
  wchar_t path[MAX_PATH] = {};
  DWORD length = MAX_PATH;
  std::string name = QueryFullProcessImageNameW(process, 0, path, &length) ? NarrowName(path) : std::string();
  CloseHandle(process);
  return name;
}

// What the job's completion port has said since the last look.
void ReadJobMessages(HANDLE port, DWORD mainId, const std::vector<std::string>& debuggers, ProgramRun& run) {
  DWORD message = 0;
  ULONG_PTR key = 0;
  LPOVERLAPPED data = nullptr;
  while (port && GetQueuedCompletionStatus(port, &message, &key, &data, 0)) {
    const DWORD processId = static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(data));
    if (message == JOB_OBJECT_MSG_ABNORMAL_EXIT_PROCESS && processId == mainId) run.abnormalExit = true;
    if (message == JOB_OBJECT_MSG_NEW_PROCESS && processId != mainId && run.debugger.empty()) {
      std::string name = ImageName(processId);
      if (!name.empty() && std::find(debuggers.begin(), debuggers.end(), name) != debuggers.end())
        run.debugger = name;
    }
  }
}

HANDLE InheritableFile(const std::wstring& path, DWORD access, DWORD disposition) {
  SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
  return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                     disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

std::vector<std::string> PostMortemDebuggers() {
  std::vector<std::string> names;
  for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug", 0,
                      KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS)
      continue;
    wchar_t command[1024] = {};
    DWORD size = sizeof(command) - sizeof(wchar_t), type = 0;
    if (RegQueryValueExW(key, L"Debugger", nullptr, &type, reinterpret_cast<BYTE*>(command), &size) ==
            ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ)) {
      std::string name = ProgramOfCommand(command);
      if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
    }
    RegCloseKey(key);
  }
  return names;
}

void QuietErrorMode() { SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX); }

bool IsCrashCode(DWORD exitCode) {
  return (exitCode & 0xF0000000u) == 0xC0000000u || exitCode == 0x80000003u;
}

const char* CrashName(DWORD exitCode) {
  switch (exitCode) {
    case 0xC0000005u: return "access violation";
    case 0xC000001Du: return "illegal instruction";
    case 0xC0000094u: return "integer division by zero";
    case 0xC00000FDu: return "stack overflow";
    case 0xC0000135u: return "a DLL it needs was not found";
    case 0xC0000139u: return "an entry point it needs was not found";
    case 0xC0000142u: return "a DLL failed to initialise";
    case 0xC0000374u: return "heap corruption";
    case 0xC0000409u: return "stack buffer overrun or fail-fast";
    case 0xC0000420u: return "assertion failure";
    case 0x80000003u: return "breakpoint";
    default: return "";
  }
}

ProgramRun RunProgram(const std::wstring& program, const std::wstring& arguments,
                      const std::wstring& folder, const std::wstring& outputFile,
                      DWORD limitMs, const std::vector<std::string>& debuggers) {
  ProgramRun run;
  Handle job{CreateJobObjectW(nullptr, nullptr)};
  if (!job.h) {
    run.startError = GetLastError();
    return run;
  }
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
  // A program that crashes ends at once with its exception code, rather than
  // waiting for a debugger or Windows Error Reporting.
  limits.BasicLimitInformation.LimitFlags =
      JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE | JOB_OBJECT_LIMIT_DIE_ON_UNHANDLED_EXCEPTION;
  SetInformationJobObject(job.h, JobObjectExtendedLimitInformation, &limits, sizeof(limits));
  // The job's messages name every process started in it (a post-mortem
  // debugger among them) and say when the program ends abnormally.
  Handle port{CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1)};
  JOBOBJECT_ASSOCIATE_COMPLETION_PORT association = {job.h, port.h};
  if (port.h)
    SetInformationJobObject(job.h, JobObjectAssociateCompletionPortInformation, &association,
                            sizeof(association));

  Handle output{InheritableFile(outputFile, GENERIC_WRITE, CREATE_ALWAYS)};
  Handle input{InheritableFile(L"NUL", GENERIC_READ, OPEN_EXISTING)};
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input.h;
  startup.hStdOutput = output.h;
  startup.hStdError = output.h;

  std::wstring commandLine = L"\"" + program + L"\" " + arguments;
  PROCESS_INFORMATION process = {};
  // Windows 7 puts a process in one job only: where the runner already runs
  // in a job (some consoles and schedulers start programs so), its programs
  // leave that job when it allows them to.
  DWORD flags = CREATE_SUSPENDED | CREATE_UNICODE_ENVIRONMENT;
  BOOL created = FALSE;
  for (DWORD breakaway : {static_cast<DWORD>(CREATE_BREAKAWAY_FROM_JOB), 0ul}) {
    created = CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, TRUE,
                             flags | breakaway, nullptr, folder.c_str(), &startup, &process);
    if (created) break;
  }
  if (!created) {
    run.startError = GetLastError();
    return run;
  }
  Handle processHandle{process.hProcess};
  Handle thread{process.hThread};
  run.started = true;
  // Without the job (Windows 7 in a job that refuses breakaway) the limit
  // still holds for the program itself, and the inherited error mode keeps
  // a crash from waiting on a dialog.
  run.inJob = AssignProcessToJobObject(job.h, process.hProcess) != FALSE;
  ULONGLONG start = GetTickCount64();
  ResumeThread(process.hThread);
  ULONGLONG debuggerSince = 0;
  while (WaitForSingleObject(process.hProcess, kPollMs) == WAIT_TIMEOUT) {
    ReadJobMessages(port.h, process.dwProcessId, debuggers, run);
    const ULONGLONG now = GetTickCount64();
    if (!run.debugger.empty() && !debuggerSince) debuggerSince = now;
    const bool waitsInDebugger = debuggerSince && now - debuggerSince >= kDebuggerGraceMs;
    if (!waitsInDebugger && now - start < limitMs) continue;
    // A debugger that attached by itself (one not in the job) shows here.
    BOOL attached = FALSE;
    if (run.debugger.empty() && CheckRemoteDebuggerPresent(process.hProcess, &attached) && attached)
      run.debugger = "a debugger";
    run.endedInDebugger = !run.debugger.empty();
    run.hung = !run.endedInDebugger;
    // Ending an empty job succeeds and ends nothing: a program outside the
    // job is ended by itself.
    if (!run.inJob || !TerminateJobObject(job.h, kExitCodeWhenEnded))
      TerminateProcess(process.hProcess, kExitCodeWhenEnded);
    WaitForSingleObject(process.hProcess, 10000);
    break;
  }
  ReadJobMessages(port.h, process.dwProcessId, debuggers, run);
  run.seconds = (GetTickCount64() - start) / 1000.0;
  GetExitCodeProcess(process.hProcess, &run.exitCode);
  // Closing the job ends whatever the program left running.
  return run;
}
