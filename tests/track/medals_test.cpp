// Medals: won from the best time alone against the targets in order, the next target, the
// targets the autopilot's time sets, and the built-in tracks' medals file.
#include "track/medals.h"

#include <gtest/gtest.h>

#include "track/built_in_targets.h"

namespace {

TEST(MedalsTest, TheMedalAndTheNextTargetFollowFromTheBestTimeAlone) {
  const TrackTargets medals{{{120.0, 110.0, 100.5}}, {}};
  const TrackTargets all{{{120.0, 110.0, 100.5}}, 95.0};
  const TrackTargets slowAuthor{{{120.0, 110.0, 100.5}}, 105.0};  // after gold all the same
  const TrackTargets authorOnly{{}, 95.0};
  const struct {
    std::optional<int64_t> best;
    const TrackTargets& targets;
    Medal won;
    std::optional<Medal> next;
  } cases[] = {
      {{}, medals, Medal::None, Medal::Bronze},
      {121, medals, Medal::None, Medal::Bronze},
      {120, medals, Medal::Bronze, Medal::Silver},
      {101, medals, Medal::Silver, Medal::Gold},
      {100, medals, Medal::Gold, {}},
      {100, all, Medal::Gold, Medal::Author},
      {95, all, Medal::Author, {}},
      {103, slowAuthor, Medal::Silver, Medal::Gold},
      {100, slowAuthor, Medal::Author, {}},
      {96, authorOnly, Medal::None, Medal::Author},
      {95, authorOnly, Medal::Author, {}},
      {1, TrackTargets{}, Medal::None, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.best ? *c.best : -1);
    EXPECT_EQ(MedalOf(c.best, c.targets), c.won);
    const auto next = NextTarget(c.best, c.targets);
    EXPECT_EQ(next ? std::optional(next->medal) : std::nullopt, c.next);
  }
  EXPECT_EQ(MedalTargetText(*NextTarget(101, medals)), "Gold 100.5 s");
}

TEST(MedalsTest, TheAutopilotsTimeRoundedUpToTheTenthIsGold) {
  EXPECT_EQ(MedalsFromAutopilot(100.0), (std::array<double, 3>{125.0, 110.0, 100.0}));
  EXPECT_EQ(MedalsFromAutopilot(100.01), (std::array<double, 3>{125.2, 110.2, 100.1}));
  EXPECT_EQ(MedalsFromAutopilot(6601 / 60.0), (std::array<double, 3>{137.7, 121.2, 110.1}));
}

TEST(MedalsTest, TheBuiltInTracksMedalsFileIsReadLineByLine) {
  const std::string text =
      "# comment Sunny 9 8 7\nSunny 90 80\nBlueSky 90 80 70\n  Sunny\t91 81 71 \nYello 1 2 3\n";
  EXPECT_EQ(BuiltInTrackTargets(text, "Sunny").medals, (std::array<double, 3>{91, 81, 71}));
  EXPECT_EQ(BuiltInTrackTargets(text, "BlueSky").medals, (std::array<double, 3>{90, 80, 70}));
  EXPECT_FALSE(BuiltInTrackTargets(text, "Yello").medals);  // refused: slower at each step
  EXPECT_FALSE(BuiltInTrackTargets(text, "Blue").medals);
}

}  // namespace
