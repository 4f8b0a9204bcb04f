#include "test_results.h"

#include <cstdlib>
#include <sstream>

namespace {

// The five entities and the numeric references that GoogleTest writes.
std::string DecodeXml(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '&') {
      out += text[i];
      continue;
    }
    size_t end = text.find(';', i);
    if (end == std::string::npos) {
      out += text.substr(i);
      break;
    }
    std::string entity = text.substr(i + 1, end - i - 1);
    if (entity == "amp") out += '&';
    else if (entity == "lt") out += '<';
    else if (entity == "gt") out += '>';
    else if (entity == "quot") out += '"';
    else if (entity == "apos") out += '\'';
    else if (!entity.empty() && entity[0] == '#') {
      unsigned long code = entity.size() > 1 && (entity[1] == 'x' || entity[1] == 'X')
                               ? strtoul(entity.c_str() + 2, nullptr, 16)
                               : strtoul(entity.c_str() + 1, nullptr, 10);
      // As UTF-8, which the rest of the file is in.
      if (code < 0x80) {
        out += static_cast<char>(code);
      } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
      } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | ((code >> 12) & 0x0F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
      } else {
        out += static_cast<char>(0xF0 | ((code >> 18) & 0x07));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
      }
    } else {
      out += text.substr(i, end - i + 1);
    }
    i = end;
  }
  return out;
}

// The value of attribute name in the tag text, decoded; empty when absent.
std::string Attribute(const std::string& tag, const char* name) {
  std::string key = std::string(" ") + name + "=\"";
  size_t start = tag.find(key);
  if (start == std::string::npos) return std::string();
  start += key.size();
  size_t end = tag.find('"', start);
  if (end == std::string::npos) return std::string();
  return DecodeXml(tag.substr(start, end - start));
}

// The message without its trailing blank lines.
std::string Trimmed(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
    text.pop_back();
  return text;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// "[  FAILED  ] Suite.Name (12 ms)" gives "Suite.Name".
std::string TestNameAfter(const std::string& line, const std::string& marker) {
  if (line.compare(0, marker.size(), marker) != 0) return std::string();
  std::string rest = line.substr(marker.size());
  size_t space = rest.find(' ');
  return space == std::string::npos ? rest : rest.substr(0, space);
}

// "/build/path/tests/wine/x_test.cpp:68\ntext" as "x_test.cpp:68\ntext": the
// build machine's folders mean nothing to the reader of the report.
std::string WithoutBuildFolder(const std::string& message) {
  size_t lineEnd = message.find('\n');
  if (lineEnd == std::string::npos) return message;
  size_t slash = message.find_last_of("/\\", lineEnd);
  if (slash == std::string::npos) return message;
  return message.substr(slash + 1);
}

}  // namespace

TestResults ReadTestXml(const std::string& xml) {
  TestResults results;
  results.haveXml = xml.find("<testsuites") != std::string::npos;
  size_t at = 0;
  while ((at = xml.find("<testcase ", at)) != std::string::npos) {
    size_t tagEnd = xml.find('>', at);
    if (tagEnd == std::string::npos) break;
    std::string tag = xml.substr(at, tagEnd - at);
    bool selfClosed = tag.back() == '/';
    size_t bodyEnd = selfClosed ? tagEnd : xml.find("</testcase>", tagEnd);
    if (bodyEnd == std::string::npos) bodyEnd = xml.size();
    std::string body = xml.substr(tagEnd, bodyEnd - tagEnd);
    at = bodyEnd;
    if (Attribute(tag, "status") != "run") continue;
    ++results.run;
    std::string test = Attribute(tag, "classname") + "." + Attribute(tag, "name");
    for (const char* kind : {"<failure ", "<skipped "}) {
      for (size_t part = body.find(kind); part != std::string::npos; part = body.find(kind, part + 1)) {
        std::string partTag = body.substr(part, body.find('>', part) - part);
        TestNote note{test, WithoutBuildFolder(Trimmed(Attribute(partTag, "message")))};
        (kind[1] == 'f' ? results.failures : results.skips).push_back(note);
      }
    }
    // A test can be skipped without a message part (GTEST_SKIP with no text).
    if (Attribute(tag, "result") == "skipped" && body.find("<skipped ") == std::string::npos)
      results.skips.push_back({test, "(no reason given)"});
  }
  return results;
}

std::string UnfinishedTest(const std::string& output) {
  std::string running;
  for (const std::string& line : Lines(output)) {
    std::string started = TestNameAfter(line, "[ RUN      ] ");
    if (!started.empty()) {
      running = started;
      continue;
    }
    for (const char* end : {"[       OK ] ", "[  FAILED  ] ", "[  SKIPPED ] "})
      if (!running.empty() && TestNameAfter(line, end) == running) running.clear();
  }
  return running;
}

std::vector<std::string> FailedTestsInOutput(const std::string& output) {
  std::vector<std::string> failed;
  for (const std::string& line : Lines(output)) {
    // The summary repeats each failure with no time after it; count the
    // ones that end a test, which carry "(N ms)".
    std::string name = TestNameAfter(line, "[  FAILED  ] ");
    if (!name.empty() && line.find(" ms)") != std::string::npos) failed.push_back(name);
  }
  return failed;
}
