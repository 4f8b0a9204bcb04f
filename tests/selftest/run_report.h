// How one run of one test program is judged and shown: its outcome, the
// figures on its line in the report and the console, and the notes below it.
#pragma once
#include <string>
#include <vector>

#include "run_program.h"
#include "test_results.h"

enum class Outcome { Passed, Failed, Crashed, Hung, Skipped };
extern const char* const kOutcomeNames[];
constexpr int kOutcomes = 5;

// One run of one program, as the report and the console show it.
struct RunReport {
  Outcome outcome = Outcome::Failed;
  std::string details;                   // after the outcome, on its line
  std::string notes;                     // the lines below it
  std::vector<std::string> failedTests;  // for the console
  std::string commonControls;            // what a themed run said it loaded
};

// The run judged from how it ended, its console output and its results.
RunReport Report(const ProgramRun& run, const std::string& output, const TestResults& results);
