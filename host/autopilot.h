// A driver on its own thread that answers each dialog, editor and calendar
// of this process after a short pause, the way a user would, so that scripts
// run unattended (on a machine without a display, in tests, in the demo).
#pragma once
#include <string>
#include <vector>

struct AutopilotOptions {
  std::string shotsFolder;  // a PNG of each answered window lands here; empty: none
  int pauseMs = 300;        // time a window is left on screen before it is answered
};

void StartAutopilot(const AutopilotOptions& options);
void StopAutopilot();

// Queues the choice for the next window answered (first in, first out). A
// window that finds the queue empty gets the default answer: accept.
void QueueAnswer(const std::string& choice);

// Drops the choices that no window took. The host calls it after each action
// and loop, so that a choice meant for a dialog that never opened cannot
// answer the next one.
std::vector<std::string> DiscardAnswers();
