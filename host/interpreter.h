// Runs a parsed script against whatever plays the host's windows and the
// plug-in: the Win32 program in the real host, recording fakes in tests.
#pragma once
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "script.h"

struct HostServices {
  // How many parameters the registered action takes; -1 for a name that the
  // plug-in did not register.
  std::function<int(const std::string& name)> parameterCount;
  // Runs a registered action with its expanded parameters.
  std::function<void(const std::string& name, const std::vector<std::string>& parameters)> runAction;
  // Opens a host window of that client size; returns its handle in decimal.
  std::function<std::string(const std::string& title, int width, int height)> openWindow;
  // Pumps messages until done() holds or the time-out passes; false on time-out.
  std::function<bool(const std::function<bool()>& done, int timeoutMs)> runLoop;
  std::function<void(const std::string& choice)> answer;
  std::function<void(const std::string& text)> print;
};

// GoSub levels that a script may nest, calendar-driven ones included, before
// a runaway recursion is reported instead of overflowing the stack.
constexpr int kMaxGoSubDepth = 64;

struct Interpreter {
  Program program;
  HostServices host;
  std::map<std::string, std::string> variables;
  int depth = 0;          // GoSub levels currently open
  int currentLine = 0;    // line of the statement being run, for errors
  bool ended = false;     // End reached: unwind every level
  std::optional<ScriptError> pendingError;  // raised inside a host callback
};

// Checks what can be checked before anything runs: every action name is
// registered and given no more parameters than it takes, and every GoSub
// with a fixed label names an existing label.
void ValidateProgram(const Interpreter& interpreter);

// Runs the program from its first statement to End or its last line; throws
// ScriptError for the first failure.
void RunProgram(Interpreter& interpreter);

// Runs one line handed over by the plug-in (a calendar's "GoSub" line),
// nested in whatever statement is running. Never throws: a failure is kept
// in pendingError and raised by the statement that the callback interrupted.
void RunHostLine(Interpreter& interpreter, const std::string& line);

// Stores a variable as the plug-in or a Set statement writes it.
void SetVariable(Interpreter& interpreter, const std::string& name, const std::string& value);
