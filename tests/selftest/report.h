// The runner's texts: what it prints on the console and the report file it
// writes, with the conversions that keep both readable on any Windows.
#pragma once
#include <string>
#include <vector>

std::string Utf8(const std::wstring& text);
std::wstring Wide(const std::string& utf8);

// Text from a test program (its output, its XML's messages) as UTF-8: each
// line that is not UTF-8 already is taken as text of the ANSI code page.
std::string ProgramText(const std::string& bytes);

// "file:line\ntext" as "text (file:line)", on one line.
std::string OneLine(const std::string& message);
// Each line of text after indent.
std::string Indented(const std::string& text, const char* indent);
// The last lines of a program's output.
std::string Tail(const std::string& output, int lines);

// UTF-8 text on the console as the console shows it (wide characters), or as
// UTF-8 bytes where the output goes to a file or a pipe.
void Print(const std::string& text);
void PrintError(const std::string& text);

// The report file: written whole each time, as UTF-8 with its mark and CR LF
// line ends. Where a place refuses it (a read-only folder, Program Files
// without virtualisation), the next one is tried, and path() is the one
// really written. The first place is tried a few times when another
// program holds the file a moment (a synced Desktop, a scanner), and again
// at each later write after such a refusal, so that the report ends where
// the README says to look, whole.
class ReportFile {
 public:
  explicit ReportFile(std::vector<std::wstring> places) : places_(std::move(places)) {}
  bool Write(const std::string& text);
  const std::wstring& path() const { return places_[at_]; }
  // What Write had to give up on, for the console.
  std::string TakeNotes();

 private:
  std::vector<std::wstring> places_;
  size_t at_ = 0;
  bool firstHeld_ = false;  // the first place refused only for a sharing violation
  std::string notes_;
};
