// Ghost files: the format's faults, the store's keep rule, moving aside and leaving alone, and
// the names of the files.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <sstream>

#include "records/ghost_store.h"
#include "support/scratch_folder.h"
#include "assets/file_name_of.h"

namespace {

namespace fs = std::filesystem;
using testing_support::WriteFile;

// A path of `steps` poses along x, turning and rolling a little, its laps ending evenly.
GhostPath Path(int32_t steps, int laps = 2) {
  GhostPath path;
  for (int32_t i = 0; i < steps; ++i) {
    const float t = static_cast<float>(i);
    path.poses.push_back({-2.3f + 0.01f * t, 0.05f, 0.001f * t, -0.3f * t / steps,
                          -90.0f + t * 0.1f, i % 7 == 0 ? 0.0f : 1e-30f * t});
  }
  for (int lap = 1; lap <= laps; ++lap) path.lapSteps.push_back(steps * lap / laps);
  return path;
}

TEST(GhostFormat, RoundTripsExactlyAndRefusesEveryDamage) {
  const GhostPath path = Path(300);
  const std::string bytes = FormatGhost(path);
  GhostPath read;
  ASSERT_EQ(ParseGhost(bytes, read), GhostRead::Read);
  EXPECT_EQ(read, path);
  for (size_t cut = 0; cut < bytes.size(); ++cut)
    ASSERT_EQ(ParseGhost(bytes.substr(0, cut), read), GhostRead::Broken) << cut;
  for (size_t at = 0; at < bytes.size(); ++at) {  // one flipped bit anywhere
    std::string flipped = bytes;
    flipped[at] ^= 0x10;
    ASSERT_NE(ParseGhost(flipped, read), GhostRead::Read) << at;
  }

  std::string older = bytes;
  older[6] = 0;
  EXPECT_EQ(ParseGhost(older, read), GhostRead::Broken);
  EXPECT_EQ(ParseGhost(bytes + '\0', read), GhostRead::Broken);

  // Paths no file may hold: none is written.
  GhostPath tooLong = Path(GhostMaxSteps + 1), noLaps = Path(10), lapsAfterEnd = Path(10),
            notFinite = Path(10);
  noLaps.lapSteps.clear();
  lapsAfterEnd.lapSteps.back() = 11;
  notFinite.poses[3].y = std::numeric_limits<float>::infinity();
  for (const GhostPath& bad : {tooLong, noLaps, lapsAfterEnd, notFinite, GhostPath()})
    EXPECT_EQ(FormatGhost(bad), "");
  EXPECT_NE(FormatGhost(Path(GhostMaxSteps)), "");
}

class GhostStoreTest : public ::testing::Test {
 protected:
  GhostStoreTest() { GameGhosts.errors = &said; }
  ~GhostStoreTest() override { GameGhosts = GhostStore(); }
  fs::path file() const { return GhostFile("Sunny", "SMiLE"); }
  int movedAside() const {
    int found = 0;
    for (const auto& entry : fs::directory_iterator(file().parent_path()))
      found += entry.path().filename().string().find(".broken-") != std::string::npos;
    return found;
  }

  testing_support::ScratchFolder scratch;
  std::ostringstream said;
};

TEST_F(GhostStoreTest, SafeNamesKeepOnlyFasterWholeRacesAndReplaceAtomically) {
  EXPECT_EQ(file(), scratch.path() / "share/quillon/ghosts/Sunny-SMiLE.ghost");
  EXPECT_EQ(GhostFile("../a b", "c").filename(), "%2E%2E%2Fa%20b-c.ghost");
  EXPECT_NE(GhostFile("a-b", "c"), GhostFile("a", "b-c"));
  EXPECT_FALSE(GameGhosts.keep("Sunny", "SMiLE", Path(GhostMaxSteps + 1)));  // over ten minutes
  EXPECT_FALSE(fs::exists(file()));
  EXPECT_TRUE(GameGhosts.keep("Sunny", "SMiLE", Path(500)));
  EXPECT_EQ(GameGhosts.load("Sunny", "SMiLE"), Path(500));
  EXPECT_FALSE(GameGhosts.keep("Sunny", "SMiLE", Path(500)));  // a tie keeps the first
  EXPECT_FALSE(GameGhosts.keep("Sunny", "SMiLE", Path(600)));
  // A write that fails at the rename leaves the kept file whole, and says so once; the run's
  // fastest is its ghost until a later finish writes it.
  GameGhosts.fileCalls.rename = [](const char*, const char*) { return errno = EACCES, -1; };
  EXPECT_FALSE(GameGhosts.keep("Sunny", "SMiLE", Path(400)));
  EXPECT_FALSE(GameGhosts.keep("Sunny", "SMiLE", Path(300)));
  EXPECT_EQ(PeekGhost("Sunny", "SMiLE"), Path(500));
  EXPECT_EQ(GameGhosts.load("Sunny", "SMiLE"), Path(300));
  EXPECT_EQ(said.str().find("not saved"), said.str().rfind("not saved"));
  GameGhosts.fileCalls = {};
  EXPECT_TRUE(GameGhosts.keep("Yello", "SMiLE", Path(450)));
  EXPECT_EQ(PeekGhost("Sunny", "SMiLE"), Path(300));
  EXPECT_FALSE(GameGhosts.keep("Sunny", "SMiLE", Path(400)));
  EXPECT_EQ(fs::status(file().parent_path()).permissions() & fs::perms::all, fs::perms::owner_all);
  EXPECT_EQ(movedAside(), 0);
}

TEST_F(GhostStoreTest, LongNamesAreCutToFitAndAGhostKeptUnderAnEarlierLongerNameIsStillRead) {
  // Twenty characters of four bytes, each written as twelve: far past what a file name may hold.
  std::string track, other, sea;
  for (int i = 0; i < 20; ++i) track += "\xF0\x9F\x8F\x81";
  other = track.substr(0, track.size() - 4) + "\xF0\x9F\x9A\x97";
  EXPECT_TRUE(GameGhosts.keep(track, "SMiLE", Path(300)));
  EXPECT_TRUE(GameGhosts.keep(other, "SMiLE", Path(200)));
  EXPECT_LE(GhostFile(track, "SMiLE").filename().string().size(), FileNameLongest);
  EXPECT_EQ(PeekGhost(track, "SMiLE"), Path(300));
  EXPECT_EQ(PeekGhost(other, "SMiLE"), Path(200));
  // A name of 210 bytes was kept whole before names were cut: that ghost is still the kept one
  // until a faster race takes its place under the cut name.
  for (int i = 0; i < 22; ++i) sea += "\xE6\xB5\xB7";
  const fs::path earlier = file().parent_path() / (EscapedFileName(sea) + "-SMiLE.ghost");
  WriteFile(earlier, FormatGhost(Path(250)));
  EXPECT_EQ(GameGhosts.load(sea, "SMiLE"), Path(250));
  EXPECT_FALSE(GameGhosts.keep(sea, "SMiLE", Path(260)));
  EXPECT_TRUE(GameGhosts.keep(sea, "SMiLE", Path(240)));
  EXPECT_FALSE(fs::exists(earlier));
  EXPECT_EQ(PeekGhost(sea, "SMiLE"), Path(240));
  EXPECT_EQ(said.str(), "");
}

TEST_F(GhostStoreTest, FaultyFilesGiveNoGhostMovedAsideOrLeftAlone) {
  const std::string whole = FormatGhost(Path(200));
  std::string newer = whole;
  newer[6] = GhostFormatVersion + 1;  // the first version after this one
  const struct {
    const char* name;
    std::string bytes;
    bool fifo, movedAside;
  } cases[] = {
      {"cut", whole.substr(0, whole.size() / 2), false, true},
      {"garbage", "not a ghost at all", false, true},
      {"special", "", true, true},
      {"newer", newer, false, false},
  };
  for (const auto& c : cases) {
    fs::remove_all(file().parent_path());
    fs::create_directories(file().parent_path());
    if (c.fifo)
      ASSERT_EQ(::mkfifo(file().c_str(), 0600), 0);
    else
      WriteFile(file(), c.bytes);
    EXPECT_FALSE(GameGhosts.load("Sunny", "SMiLE")) << c.name;
    EXPECT_EQ(movedAside(), c.movedAside ? 1 : 0) << c.name;
    EXPECT_EQ(fs::exists(file()), !c.movedAside) << c.name;
    // A faster race then takes the place of a moved file, never of a newer one.
    EXPECT_EQ(GameGhosts.keep("Sunny", "SMiLE", Path(100)), c.movedAside) << c.name;
    EXPECT_TRUE(c.movedAside || fs::file_size(file()) == newer.size()) << c.name;
  }
}

}  // namespace
