// The stand-in host's script reader and expansion: any text is a program or
// a clean error naming its line.
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>

#include "script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string source(reinterpret_cast<const char*>(data), size);
  try {
    Program program = ParseProgram(source, "fuzz.vel");
    LabelList(program);
  } catch (const ScriptError& error) {
    if (error.file != "fuzz.vel" || error.line < 0) std::abort();
  }
  std::map<std::string, std::string> variables = {{"a", "%a%"}, {"b", "x"}};
  std::string expanded = Expand(source, variables);
  (void)expanded;
  return 0;
}
