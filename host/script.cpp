#include "script.h"

#include <cctype>
#include <cstdlib>

namespace {

enum class TokenKind { kWord, kQuoted, kEquals };

struct Token {
  TokenKind kind;
  std::string text;
};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

[[noreturn]] void Fail(const std::string& file, int line, const std::string& message) {
  throw ScriptError{file, line, message};
}

// Quoted texts double an inner quote ("say ""hi""") as BASIC does, since
// action parameters are often paths and filters that hold no quotes.
std::vector<Token> Tokenize(const std::string& text, const std::string& file, int line) {
  std::vector<Token> tokens;
  size_t i = 0;
  while (i < text.size()) {
    char c = text[i];
    if (IsBlank(c)) {
      ++i;
    } else if (c == '"') {
      std::string value;
      ++i;
      for (;;) {
        if (i >= text.size()) Fail(file, line, "unterminated quoted text");
        if (text[i] == '"') {
          if (i + 1 < text.size() && text[i + 1] == '"') {
            value += '"';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        value += text[i++];
      }
      tokens.push_back({TokenKind::kQuoted, value});
    } else if (c == '=') {
      tokens.push_back({TokenKind::kEquals, "="});
      ++i;
    } else {
      size_t start = i;
      while (i < text.size() && !IsBlank(text[i]) && text[i] != '"' && text[i] != '=') ++i;
      tokens.push_back({TokenKind::kWord, text.substr(start, i - start)});
    }
  }
  return tokens;
}

bool IsName(const std::string& word) {
  if (word.empty() || !(std::isalpha(static_cast<unsigned char>(word[0])) || word[0] == '_'))
    return false;
  for (char c : word)
    if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_')) return false;
  return true;
}

bool IsKeyword(const Token& token, const char* keyword) {
  return token.kind == TokenKind::kWord && LowerCase(token.text) == keyword;
}

// Cursor over one line's tokens; every expectation names what was missing.
struct LineReader {
  const std::vector<Token>& tokens;
  const std::string& file;
  int line;
  size_t next = 0;

  bool AtEnd() const { return next >= tokens.size(); }
  const Token* Peek() const { return AtEnd() ? nullptr : &tokens[next]; }

  std::string Quoted(const std::string& what) {
    if (AtEnd() || tokens[next].kind != TokenKind::kQuoted)
      Fail(file, line, "expected " + what + " in double quotes");
    return tokens[next++].text;
  }
  std::string Name(const std::string& what) {
    if (AtEnd() || tokens[next].kind != TokenKind::kWord || !IsName(tokens[next].text))
      Fail(file, line, "expected " + what);
    return tokens[next++].text;
  }
  void Keyword(const char* keyword) {
    if (AtEnd() || !IsKeyword(tokens[next], keyword))
      Fail(file, line, std::string("expected ") + keyword);
    ++next;
  }
  void Equals() {
    if (AtEnd() || tokens[next].kind != TokenKind::kEquals) Fail(file, line, "expected =");
    ++next;
  }
  int Milliseconds() {
    if (AtEnd() || tokens[next].kind != TokenKind::kWord)
      Fail(file, line, "expected a time-out in milliseconds");
    const std::string& digits = tokens[next].text;
    if (digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos)
      Fail(file, line, "expected a time-out in milliseconds, found " + digits);
    ++next;
    return std::atoi(digits.c_str());
  }
  void Finish() {
    if (!AtEnd()) {
      const Token& extra = tokens[next];
      Fail(file, line, "unexpected " + (extra.kind == TokenKind::kQuoted
                                            ? "\"" + extra.text + "\""
                                            : extra.text) + " at end of statement");
    }
  }
};

}  // namespace

std::string LowerCase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string ScriptError::Describe() const {
  std::string where = file;
  if (line > 0) {
    where += ':';
    where += std::to_string(line);
  }
  return where + ": error: " + message;
}

Statement ParseLine(const std::string& text, const std::string& file, int line) {
  Statement statement;
  statement.line = line;
  size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos || text[first] == '#') return statement;

  std::vector<Token> tokens = Tokenize(text, file, line);
  LineReader reader{tokens, file, line};
  const Token& head = tokens[0];
  if (head.kind != TokenKind::kWord) Fail(file, line, "expected a statement, found a quoted text");

  if (tokens.size() == 1 && head.text.size() > 1 && head.text.back() == ':') {
    statement.kind = StatementKind::kLabel;
    statement.name = head.text.substr(0, head.text.size() - 1);
    if (!IsName(statement.name)) Fail(file, line, "expected a label name before :");
    return statement;
  }

  reader.next = 1;
  std::string keyword = LowerCase(head.text);
  if (keyword == "set") {
    statement.kind = StatementKind::kSet;
    statement.name = reader.Name("a variable name after Set");
    reader.Equals();
    statement.texts.push_back(reader.Quoted("the value"));
  } else if (keyword == "print") {
    statement.kind = StatementKind::kPrint;
    statement.texts.push_back(reader.AtEnd() ? std::string() : reader.Quoted("the text to print"));
  } else if (keyword == "answer") {
    statement.kind = StatementKind::kAnswer;
    statement.texts.push_back(reader.Quoted("the autopilot's choice"));
  } else if (keyword == "gosub") {
    statement.kind = StatementKind::kGoSub;
    statement.texts.push_back(reader.Quoted("the label name"));
  } else if (keyword == "return") {
    statement.kind = StatementKind::kReturn;
  } else if (keyword == "end") {
    statement.kind = StatementKind::kEnd;
  } else if (keyword == "window") {
    statement.kind = StatementKind::kWindow;
    statement.name = reader.Name("a variable name for the window handle");
    statement.texts.push_back(reader.Quoted("the window title"));
    statement.texts.push_back(reader.Quoted("the client width"));
    statement.texts.push_back(reader.Quoted("the client height"));
  } else if (keyword == "loop") {
    statement.kind = StatementKind::kLoop;
    if (reader.Peek() && IsKeyword(*reader.Peek(), "until")) {
      ++reader.next;
      statement.hasCondition = true;
      statement.name = reader.Name("a variable name after Until");
      reader.Equals();
      statement.texts.push_back(reader.Quoted("the awaited value"));
    }
    reader.Keyword("timeout");
    statement.timeoutMs = reader.Milliseconds();
  } else if (IsName(head.text)) {
    statement.kind = StatementKind::kAction;
    statement.name = head.text;
    while (!reader.AtEnd()) statement.texts.push_back(reader.Quoted("a parameter"));
  } else {
    Fail(file, line, "expected a statement, found " + head.text);
  }
  reader.Finish();
  return statement;
}

Program ParseProgram(const std::string& source, const std::string& file) {
  Program program;
  program.file = file;
  size_t start = 0;
  int line = 0;
  while (start < source.size()) {
    size_t end = source.find('\n', start);
    if (end == std::string::npos) end = source.size();
    Statement statement = ParseLine(source.substr(start, end - start), file, ++line);
    if (statement.kind == StatementKind::kLabel) {
      std::string key = LowerCase(statement.name);
      if (program.labelIndex.count(key))
        Fail(file, line, "label " + statement.name + " is defined twice");
      program.labelIndex[key] = program.statements.size();
      program.labelOrder.push_back(statement.name);
    }
    if (statement.kind != StatementKind::kNothing) program.statements.push_back(statement);
    start = end + 1;
  }
  return program;
}

std::string Expand(const std::string& text, const std::map<std::string, std::string>& variables) {
  std::string out;
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] != '%') {
      out += text[i++];
      continue;
    }
    size_t close = text.find('%', i + 1);
    if (close == std::string::npos) {
      out += text.substr(i);
      break;
    }
    std::string name = text.substr(i + 1, close - i - 1);
    if (name.empty()) {
      out += '%';
    } else if (!IsName(name)) {
      // "50% and 60%" is prose, not a variable: keep the % and read on.
      out += '%';
      ++i;
      continue;
    } else {
      auto found = variables.find(name);
      if (found != variables.end()) out += found->second;
    }
    i = close + 1;
  }
  return out;
}

std::string LabelList(const Program& program) {
  std::string list;
  for (const std::string& label : program.labelOrder) {
    if (!list.empty()) list += "\r\n";
    list += label;
  }
  return list;
}
