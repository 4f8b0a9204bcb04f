// One line of the host's transcript on stdout. The autopilot writes from
// its own thread, so lines are written whole and flushed at once.
#pragma once
#include <string>

void PrintLine(const std::string& text);
void PrintError(const std::string& text);  // on stderr
