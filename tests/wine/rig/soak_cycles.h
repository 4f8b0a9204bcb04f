// Many rounds of everything the library shows, in one process, with the
// process's resources measured after a warm-up and at the end.
#pragma once
#include <string>
#include <vector>

#include "rig/resource_counts.h"

struct SoakFigures {
  int rounds = 0;
  bool budgetReached = false;  // stopped by its time budget before its round count
  ResourceCounts warm;  // after the warm-up rounds
  ResourceCounts end;   // after the measured rounds
  double seconds = 0;   // for the measured rounds
  std::string failure;  // the first step that misbehaved, empty when none did
  // GDI objects that the system's own month-calendar control leaks per
  // creation, measured after the soak on bare controls.
  double systemLeakPerRound = 0;
  // GDI objects after each measured round, counted before the end's settling.
  std::vector<long> gdiAfterRound;
  // The fonts, brushes and device contexts that the DLL itself made and had
  // not released, after the warm-up and at the end: a leak of the library's
  // own objects shows here exactly, whatever the system's caches do.
  long libraryGdiWarm = -1;
  long libraryGdiEnd = -1;
  // The memory blocks that the DLL itself allocated and had not freed, and
  // their bytes, likewise: exact where private bytes move with Wine's heaps.
  long libraryBlocksWarm = -1, libraryBlocksEnd = -1;
  size_t libraryBytesWarm = 0, libraryBytesEnd = 0;
  // GDI growth left once the system's own leak is taken off.
  long LibraryGdiGrowth() const {
    return end.gdiObjects - warm.gdiObjects - static_cast<long>(systemLeakPerRound * rounds + 0.5);
  }
};

enum class SoakParts { All, DialogsAndEditors, Calendar };

// One round (of all parts): each of the five dialog actions cancelled, each of the six
// editors ended (with "Done" on even rounds, with Close on odd ones), and a
// calendar started over a host window, picked once and stopped. Every step
// is checked; the first fault ends the soak and is described in failure.
// With a budget above 0, no measured round starts once that many seconds of
// measured rounds have passed, so a slow machine runs fewer rounds rather
// than overrunning.
SoakFigures RunSoak(int warmupRounds, int rounds, SoakParts parts = SoakParts::All,
                    double budgetSeconds = 0);

// Growth from warm to end in per cent of warm (0 when warm is 0).
double GrowthPercent(double warm, double end);
