#include "output.h"

#include <cstdio>
#include <mutex>

namespace {
std::mutex g_printLock;
}

void PrintLine(const std::string& text) {
  std::lock_guard<std::mutex> hold(g_printLock);
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

void PrintError(const std::string& text) {
  std::lock_guard<std::mutex> hold(g_printLock);
  std::fflush(stdout);
  std::fprintf(stderr, "%s\n", text.c_str());
  std::fflush(stderr);
}
