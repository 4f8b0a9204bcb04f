// Nothing may unwind into system or host code: an exception cannot pass
// through user32's or the host's frames and would end the host's process.
// Every procedure that the system or the host calls runs its body through
// one of these.
#pragma once

// Runs body; an exception ends it quietly.
template <typename Body>
void CatchAll(Body&& body) noexcept {
  try {
    body();
  } catch (...) {
  }
}

// Runs body; when it throws (memory running out half-way), runs
// reportFailure, best effort, so that the host never reads the previous
// call's results as this call's.
template <typename Body, typename Failure>
void CatchAllReporting(Body&& body, Failure&& reportFailure) noexcept {
  try {
    body();
    return;
  } catch (...) {
  }
  try {
    reportFailure();
  } catch (...) {
  }
}

// Runs body and returns its result, or failed when it threw.
template <typename Result, typename Body>
Result CatchAll(Result failed, Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    return failed;
  }
}
