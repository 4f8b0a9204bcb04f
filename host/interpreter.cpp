#include "interpreter.h"

#include <cstdlib>

namespace {

[[noreturn]] void Fail(const Interpreter& in, int line, const std::string& message) {
  throw ScriptError{in.program.file, line, message};
}

void RaisePending(Interpreter& in) {
  if (!in.pendingError) return;
  ScriptError error = *in.pendingError;
  in.pendingError.reset();
  throw error;
}

// A window size must be a plain positive number; anything else is a typo
// that would otherwise open a window of size 0.
int ReadSize(const Interpreter& in, int line, const std::string& text, const char* what) {
  if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos)
    Fail(in, line, std::string("expected a ") + what + " in pixels, found \"" + text + "\"");
  int value = std::atoi(text.c_str());
  if (value <= 0) Fail(in, line, std::string("expected a ") + what + " above 0");
  return value;
}

// Fewer parameters than the action takes leave the rest empty; more are a
// mistake that the plug-in would never see.
void CheckAction(const Interpreter& in, const Statement& s) {
  int count = in.host.parameterCount(s.name);
  if (count < 0) Fail(in, s.line, "unknown action " + s.name);
  if (s.texts.size() > static_cast<size_t>(count))
    Fail(in, s.line, s.name + " takes " + std::to_string(count) + " parameters, not " +
                         std::to_string(s.texts.size()));
}

size_t FindLabel(const Interpreter& in, int line, const std::string& label) {
  auto found = in.program.labelIndex.find(LowerCase(label));
  if (found == in.program.labelIndex.end()) Fail(in, line, "no label named " + label);
  return found->second;
}

void RunFrom(Interpreter& in, size_t index);

void GoSub(Interpreter& in, int line, const std::string& label) {
  size_t target = FindLabel(in, line, label);
  if (in.depth >= kMaxGoSubDepth)
    Fail(in, line, "GoSub nested deeper than " + std::to_string(kMaxGoSubDepth) + " levels");
  ++in.depth;
  try {
    RunFrom(in, target + 1);
  } catch (...) {
    --in.depth;
    throw;
  }
  --in.depth;
}

void Run(Interpreter& in, const Statement& s) {
  in.currentLine = s.line;
  auto expanded = [&](size_t i) { return Expand(s.texts[i], in.variables); };
  switch (s.kind) {
    case StatementKind::kNothing:
    case StatementKind::kLabel:
      break;
    case StatementKind::kSet:
      SetVariable(in, s.name, expanded(0));
      break;
    case StatementKind::kPrint:
      in.host.print(expanded(0));
      break;
    case StatementKind::kAnswer:
      in.host.answer(expanded(0));
      break;
    case StatementKind::kGoSub:
      GoSub(in, s.line, expanded(0));
      break;
    case StatementKind::kReturn:
    case StatementKind::kEnd:
      break;  // handled by RunFrom
    case StatementKind::kWindow: {
      int width = ReadSize(in, s.line, expanded(1), "width");
      int height = ReadSize(in, s.line, expanded(2), "height");
      SetVariable(in, s.name, in.host.openWindow(expanded(0), width, height));
      break;
    }
    case StatementKind::kLoop: {
      std::string awaited = s.hasCondition ? expanded(0) : std::string();
      auto done = [&] {
        if (in.pendingError || in.ended) return true;
        if (!s.hasCondition) return false;
        auto found = in.variables.find(s.name);
        return found != in.variables.end() && found->second == awaited;
      };
      bool met = in.host.runLoop(done, s.timeoutMs);
      RaisePending(in);
      if (!met && s.hasCondition)
        in.host.print("loop: timed out after " + std::to_string(s.timeoutMs) + " ms waiting for " +
                      s.name + " = \"" + awaited + "\"");
      break;
    }
    case StatementKind::kAction: {
      CheckAction(in, s);
      std::vector<std::string> parameters;
      for (size_t i = 0; i < s.texts.size(); ++i) parameters.push_back(expanded(i));
      in.host.runAction(s.name, parameters);
      RaisePending(in);
      break;
    }
  }
}

// Runs statements from index on until Return (back to the GoSub), End or
// the end of the program.
void RunFrom(Interpreter& in, size_t index) {
  for (; index < in.program.statements.size() && !in.ended; ++index) {
    const Statement& s = in.program.statements[index];
    if (s.kind == StatementKind::kReturn) {
      if (in.depth == 0) Fail(in, s.line, "Return without GoSub");
      return;
    }
    if (s.kind == StatementKind::kEnd) {
      in.ended = true;
      return;
    }
    Run(in, s);
  }
  // Running off the end inside a subroutine ends the script, as End would.
  in.ended = true;
}

}  // namespace

void SetVariable(Interpreter& in, const std::string& name, const std::string& value) {
  in.variables[name] = value;
}

void ValidateProgram(const Interpreter& in) {
  for (const Statement& s : in.program.statements) {
    if (s.kind == StatementKind::kAction) CheckAction(in, s);
    if (s.kind == StatementKind::kGoSub && s.texts[0].find('%') == std::string::npos)
      FindLabel(in, s.line, s.texts[0]);
  }
}

void RunProgram(Interpreter& in) {
  in.ended = false;
  in.depth = 0;
  RunFrom(in, 0);
}

void RunHostLine(Interpreter& in, const std::string& line) {
  if (in.pendingError || in.ended) return;
  int callerLine = in.currentLine;
  try {
    Statement s = ParseLine(line, in.program.file, callerLine);
    // Only statements that make sense mid-statement: a subroutine call or a
    // plain assignment or print; anything else from a plug-in is refused.
    switch (s.kind) {
      case StatementKind::kGoSub:
      case StatementKind::kSet:
      case StatementKind::kPrint:
      case StatementKind::kNothing:
        break;
      default:
        Fail(in, callerLine, "the plug-in sent a line that the host does not run: " + line);
    }
    Run(in, s);
  } catch (const ScriptError& error) {
    ScriptError described = error;
    described.message += " (in the line \"" + line + "\" from the plug-in)";
    in.pendingError = described;
  }
  in.currentLine = callerLine;
}
