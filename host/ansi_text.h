// The host's side of texts: ANSI towards the plug-in and in transcripts,
// UTF-16 towards the windows the autopilot reads and fills.
#pragma once
#include <string>

std::wstring AnsiToWide(const std::string& text);
std::string WideToAnsi(const std::wstring& text);
