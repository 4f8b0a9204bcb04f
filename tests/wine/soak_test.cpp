// A short soak: a few rounds of every dialog, editor and calendar in one
// process must leave its GDI objects, USER objects and private memory where
// the warm-up left them. `make bench` runs the long one.
#include <gtest/gtest.h>

#include <cstdio>

#include "rig/soak_cycles.h"

namespace {
// Wine fills some caches of its own late: warm up well.
constexpr int kWarmupRounds = 8;
constexpr int kRounds = 12;
constexpr double kMaxGrowthPercent = 1.0;
constexpr long kMaxGdiGrowthPerRound = 2;
}  // namespace

TEST(Soak, ResourcesStayFlatAcrossRoundsOfEverything) {
  SoakFigures figures = RunSoak(kWarmupRounds, kRounds);
  ASSERT_EQ(figures.failure, "");
  ASSERT_EQ(figures.rounds, kRounds);
  std::printf("GDI %ld -> %ld, USER %ld -> %ld, private %lu -> %lu bytes, %.1f s\n",
              figures.warm.gdiObjects, figures.end.gdiObjects, figures.warm.userObjects,
              figures.end.userObjects, static_cast<unsigned long>(figures.warm.privateBytes),
              static_cast<unsigned long>(figures.end.privateBytes), figures.seconds);
  std::printf("the bare month calendar leaks %.2f GDI objects per creation\n", figures.systemLeakPerRound);
  ASSERT_GT(figures.warm.gdiObjects, 0);
  ASSERT_GT(figures.warm.userObjects, 0);
  // Wine's own caches still move by a few objects in a run this short; a
  // leak in any step of a round adds at least one object per round.
  EXPECT_LT(figures.LibraryGdiGrowth(), kMaxGdiGrowthPerRound * kRounds);
  EXPECT_LT(GrowthPercent(figures.warm.userObjects, figures.end.userObjects), kMaxGrowthPercent);
  EXPECT_LT(GrowthPercent(double(figures.warm.privateBytes), double(figures.end.privateBytes)),
            kMaxGrowthPercent);
}
