// The stand-in host's script language: one statement per line, read into a
// program before anything runs so that errors name their line up front.
#pragma once
#include <cstddef>
#include <map>
#include <string>
#include <vector>

enum class StatementKind {
  kNothing,  // blank line or comment
  kLabel,    // Name:
  kSet,      // Set Name = "text"
  kPrint,    // Print "text"
  kAnswer,   // Answer "choice"  (queued for the autopilot)
  kGoSub,    // GoSub "Label"
  kReturn,
  kEnd,
  kWindow,   // Window Name "Title" "Width" "Height"
  kLoop,     // Loop [Until Name = "text"] Timeout Milliseconds
  kAction,   // ActionName "p1" "p2" ...
};

struct Statement {
  StatementKind kind = StatementKind::kNothing;
  int line = 0;
  std::string name;                // label, variable, window variable or action name
  std::vector<std::string> texts;  // quoted texts, unexpanded
  int timeoutMs = 0;               // kLoop only
  bool hasCondition = false;       // kLoop only: wait for name == texts[0]
};

struct ScriptError {
  std::string file;
  int line = 0;  // 0 when no line applies
  std::string message;
  // "file:line: error: message", the form every error is printed in.
  std::string Describe() const;
};

struct Program {
  std::string file;
  std::vector<Statement> statements;
  std::vector<std::string> labelOrder;        // as written, for the host's label list
  std::map<std::string, size_t> labelIndex;   // lower-cased name -> statement index
};

// Reads one line; throws ScriptError naming file and line on a bad line.
Statement ParseLine(const std::string& text, const std::string& file, int line);

// Reads a whole script (lines split at LF, a trailing CR dropped); throws
// ScriptError for the first bad line or a label defined twice.
Program ParseProgram(const std::string& source, const std::string& file);

// Replaces %name% by the variable's value (empty when unset) and %% by %;
// a % without a closing partner stays as it is.
std::string Expand(const std::string& text, const std::map<std::string, std::string>& variables);

// The labels joined by CR LF, in the order they appear.
std::string LabelList(const Program& program);

std::string LowerCase(std::string text);
