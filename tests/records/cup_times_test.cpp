// The best cup totals file: the best of each car and set of tracks kept, other lines kept as they
// are, and a file that is not a cup-times file never replaced.
#include "records/cup_times.h"

#include <gtest/gtest.h>

namespace {

TEST(CupTimesTest, TheBestOfEachCarAndTracksIsKeptAndOtherLinesStay) {
  const std::string head = "quillon-cup-times 1\n";
  const std::string old = "cup\tSMiLE\tk1\t30\t10 20\n", other = "cup\tSMiLE\tk2\t5\t5\n";
  const struct {
    std::string text;
    CupRecord cup;
    bool kept;
    std::string after;
  } cases[] = {
      {"", {"SMiLE", "k1", {10, 20}}, true, head + old},
      {head + old + other,
       {"SMiLE", "k1", {10, 19}},
       true,
       head + other + "cup\tSMiLE\tk1\t29\t10 19\n"},
      {head + old + other, {"SMiLE", "k1", {11, 19}}, false, head + old + other},  // even: stays
      {head + "a line of later\n" + old,
       {"Taco\tX", "k1", {1}},
       true,
       head + "a line of later\n" + old + "cup\tTaco X\tk1\t1\t1\n"},
  };
  for (const auto& c : cases) {
    bool kept = true;
    const auto text = WithCup(c.text, c.cup, kept);
    ASSERT_TRUE(text) << c.text;
    EXPECT_EQ(kept, c.kept);
    EXPECT_EQ(*text, c.after);
    EXPECT_EQ(BestCupIn(*text, c.cup.car, "k1")->total(), std::min<int64_t>(c.cup.total(), 30));
  }
  bool kept = true;
  EXPECT_FALSE(WithCup("best times?\n", {"SMiLE", "k1", {1}}, kept));
  EXPECT_FALSE(kept);
  // A line whose total disagrees with its times is not a cup.
  EXPECT_FALSE(BestCupIn(head + "cup\tSMiLE\tk1\t3\t1 1\n", "SMiLE", "k1"));
  EXPECT_NE(CupTracksKey({"a", "b"}), CupTracksKey({"b", "a"}));
}

}  // namespace
