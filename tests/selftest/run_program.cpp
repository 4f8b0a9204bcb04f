#include "run_program.h"

namespace {

// Owns a handle for the length of one run.
struct Handle {
  HANDLE h = nullptr;
  ~Handle() {
    if (h && h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
};

constexpr DWORD kExitCodeWhenEnded = WAIT_TIMEOUT;

HANDLE InheritableFile(const std::wstring& path, DWORD access, DWORD disposition) {
  SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
  return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                     disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

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
                      DWORD limitMs) {
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
  if (WaitForSingleObject(process.hProcess, limitMs) == WAIT_TIMEOUT) {
    run.hung = true;
    // Ending an empty job succeeds and ends nothing: a program outside the
    // job is ended by itself.
    if (!run.inJob || !TerminateJobObject(job.h, kExitCodeWhenEnded))
      TerminateProcess(process.hProcess, kExitCodeWhenEnded);
    WaitForSingleObject(process.hProcess, 10000);
  }
  run.seconds = (GetTickCount64() - start) / 1000.0;
  GetExitCodeProcess(process.hProcess, &run.exitCode);
  // Closing the job ends whatever the program left running.
  return run;
}
