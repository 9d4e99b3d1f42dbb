// File names made from a player's text: escaped, kept apart, and never longer than a file system
// takes, whatever the text.
#include "assets/file_name_of.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(FileNameOf, EscapesJoinsAndCutsLongNamesWithAHashNeverInsideAnEscape) {
  EXPECT_EQ(FileNameOf({"Sunny", "SMiLE"}, ".ghost"), "Sunny-SMiLE.ghost");
  EXPECT_EQ(FileNameOf({"../a b", "", "c"}, ".ghost"), "%2E%2E%2Fa%20b--c.ghost");
  std::set<std::string> names;
  // Every cut position against an escape: lengths of plain and escaped bytes around the limit.
  for (size_t plain = 170; plain < 200; ++plain) {
    for (const std::string tail : {"", "\xC3\xA9", "\xF0\x9F\x8F\x81\xF0\x9F\x8F\x81", "!x"}) {
      const std::string name = FileNameOf({std::string(plain, 'a') + tail, "SMiLE"}, ".ghost");
      EXPECT_LE(name.size(), FileNameLongest) << name;
      EXPECT_TRUE(name.ends_with(".ghost")) << name;
      for (size_t at = name.find('%'); at != std::string::npos; at = name.find('%', at + 1)) {
        EXPECT_LT(at + 2, name.size()) << name;
        EXPECT_TRUE(std::isxdigit(name[at + 1])) << name;
        EXPECT_TRUE(std::isxdigit(name[at + 2])) << name;
      }
      EXPECT_TRUE(names.insert(name).second) << name;  // no two texts share a name
    }
  }
  EXPECT_EQ(FileNameOf({std::string(194, 'a')}, ".ghost").size(), FileNameLongest);
  EXPECT_EQ(FileNameOf({std::string(195, 'a')}, ".ghost").size(), FileNameLongest);
}

}  // namespace
