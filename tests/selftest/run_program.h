// Runs one test program in a job object, so that a program that hangs is
// ended at its time limit together with every process and dialog it started,
// and one that crashes ends at once rather than waiting on an error dialog
// or in a post-mortem debugger.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

struct ProgramRun {
  bool started = false;
  DWORD startError = 0;
  bool inJob = false;  // false where the runner's own job refused it a job of its own
  bool hung = false;   // still running at the limit, then ended
  // A post-mortem debugger (the AeDebug one) that started in the run's job,
  // by its file name, or "a debugger" when one was found attached at the
  // limit; the run then crashed, whatever its exit code says.
  std::string debugger;
  bool endedInDebugger = false;  // ended by the runner while it waited there
  bool abnormalExit = false;     // the job said the program ended abnormally
  DWORD exitCode = 0;
  double seconds = 0;
};

// Sets the error mode that the programs inherit: no Windows Error Reporting
// dialog and no critical-error box holds a program that crashes.
void QuietErrorMode();

// The file names (lower case) of the post-mortem debuggers that Windows would
// start for a crashing program, from both registry views of AeDebug.
std::vector<std::string> PostMortemDebuggers();

// Runs program with arguments in folder, its console output going to
// outputFile; ends it after limitMs.
ProgramRun RunProgram(const std::wstring& program, const std::wstring& arguments,
                      const std::wstring& folder, const std::wstring& outputFile,
                      DWORD limitMs, const std::vector<std::string>& debuggers);

// True for the exit code of a process ended by an exception it did not
// handle (an NTSTATUS of error severity, or a breakpoint).
bool IsCrashCode(DWORD exitCode);
// "access violation" for 0xC0000005, and so on; empty for codes it does not know.
const char* CrashName(DWORD exitCode);
