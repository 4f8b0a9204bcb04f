// What the report says about the machine the programs ran on.
#pragma once
#include <string>

struct Machine {
  std::string windows;      // "10.0 build 19045" as RtlGetVersion reports it
  bool windows64 = false;   // a 64-bit Windows (runs the 64-bit programs)
  int runnerBits = 32;
  std::string wine;         // Wine's version, empty on Windows
  std::string wineHost;     // the system Wine runs on, when it says
  unsigned ansiCodePage = 0, oemCodePage = 0;
  std::string userLocale, uiLanguage;
  int dpiX = 0, dpiY = 0;
  int screenWidth = 0, screenHeight = 0;
  std::string visualStyles;
};

Machine DescribeMachine();
