// Runs one test program in a job object, so that a program that hangs is
// ended at its time limit together with every process and dialog it started.
#pragma once
#include <windows.h>

#include <string>

struct ProgramRun {
  bool started = false;
  DWORD startError = 0;
  bool hung = false;   // still running at the limit, then ended
  DWORD exitCode = 0;
  double seconds = 0;
};

// Runs program with arguments in folder, its console output going to
// outputFile; ends it after limitMs.
ProgramRun RunProgram(const std::wstring& program, const std::wstring& arguments,
                      const std::wstring& folder, const std::wstring& outputFile,
                      DWORD limitMs);
