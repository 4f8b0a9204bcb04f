#include "run_report.h"

#include <cstdio>

#include "report.h"

const char* const kOutcomeNames[] = {"passed", "failed", "crashed", "hung", "skipped"};

namespace {
constexpr int kTailLines = 15;
constexpr char kThemedMark[] = "Common Controls 6 active: ";

}  // namespace

RunReport Report(const ProgramRun& run, const std::string& output, const TestResults& results) {
  RunReport r;
  char figures[160];
  bool tail = false;
  if (run.hung) {
    r.outcome = Outcome::Hung;
    std::string in = UnfinishedTest(output);
    snprintf(figures, sizeof(figures), "ended at the limit after %.1f s", run.seconds);
    r.details = figures + (in.empty() ? std::string() : ", in " + in);
    tail = true;
  } else if (IsCrashCode(run.exitCode) || run.abnormalExit || !run.debugger.empty()) {
    r.outcome = Outcome::Crashed;
    const char* name = CrashName(run.exitCode);
    if (run.endedInDebugger)
      snprintf(figures, sizeof(figures), "waited in the post-mortem debugger (%s), ended after %.1f s",
               run.debugger.c_str(), run.seconds);
    else
      snprintf(figures, sizeof(figures), "%s 0x%08lX%s%s%s after %.1f s",
               IsCrashCode(run.exitCode) ? "exception" : "ended abnormally, exit code",
               static_cast<unsigned long>(run.exitCode), *name ? " (" : "", name, *name ? ")" : "",
               run.seconds);
    std::string in = UnfinishedTest(output);
    r.details = figures + (in.empty() ? std::string() : ", in " + in);
    if (!run.debugger.empty() && !run.endedInDebugger)
      r.notes += "    the post-mortem debugger (" + run.debugger + ") ran for it\n";
    tail = true;
  } else if (run.exitCode != 0 || !results.failures.empty() || !results.haveXml) {
    r.outcome = Outcome::Failed;
    snprintf(figures, sizeof(figures), "exit code %lu, %.1f s", static_cast<unsigned long>(run.exitCode),
             run.seconds);
    r.details = figures;
    if (!results.haveXml) {
      std::string in = UnfinishedTest(output);
      if (!in.empty()) r.details += ", ended in " + in;
    }
    tail = run.exitCode != 0;
  } else if (results.run > 0 && results.skips.size() == static_cast<size_t>(results.run)) {
    r.outcome = Outcome::Skipped;
    r.details = OneLine(results.skips.front().message);
  } else {
    r.outcome = Outcome::Passed;
    snprintf(figures, sizeof(figures), "%d tests, %.1f s", results.run, run.seconds);
    r.details = figures;
  }
  if (!run.inJob) r.details += ", outside a job of its own";
  if (results.haveXml) {
    if (!results.failures.empty()) r.details += ", " + std::to_string(results.failures.size()) + " failures";
    if (!results.skips.empty() && r.outcome != Outcome::Skipped)
      r.details += ", " + std::to_string(results.skips.size()) + " skipped";
    for (const TestNote& note : results.failures) {
      r.notes += "    failed: " + note.test + "\n" + Indented(note.message, "      ") + "\n";
      if (r.failedTests.empty() || r.failedTests.back() != note.test) r.failedTests.push_back(note.test);
    }
    if (r.outcome != Outcome::Skipped)
      for (const TestNote& note : results.skips)
        r.notes += "    skipped: " + note.test + ": " + OneLine(note.message) + "\n";
  } else {
    for (const std::string& test : FailedTestsInOutput(output)) r.notes += "    failed: " + test + "\n";
  }
  // A run that ended badly with no failure listed (a crash, a suite's
  // set-up that failed, an abort) says why only in its output.
  if (tail && results.failures.empty())
    r.notes += "    last output:\n" + Indented(Tail(output, kTailLines), "      ") + "\n";
  size_t mark = output.find(kThemedMark);
  if (mark != std::string::npos) {
    size_t start = mark + sizeof(kThemedMark) - 1;
    r.commonControls = output.substr(start, output.find_first_of("\r\n", start) - start);
  }
  return r;
}

