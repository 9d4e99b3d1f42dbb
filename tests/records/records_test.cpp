// The best-times file: its text format, the keep rule, and the store's reading, moving aside and
// atomic writing, with failures injected where a real disk cannot be made to fail.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <sstream>

#include "records/best_times.h"
#include "support/best_times_lines.h"
#include "support/scratch_folder.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ReadFile;
using testing_support::WriteFile;

using testing_support::RaceLine;
const std::string& Header = testing_support::BestTimesHeader;

TEST(RecordsFormat, RoundTripKeepsEveryLineAndAddsInPlace) {
  // A newer version with a line this game does not know, a comment and a blank line.
  const std::string text = "quillon-best-times 3\n# mine\n" + RaceLine("Sunny", "SMiLE", "95") +
                           "\nlap\tSunny\t1\t40\n" + RaceLine("Yello", "911PIZ", "120");
  auto table = RecordsTable::parse(text);
  ASSERT_TRUE(table);
  EXPECT_EQ(table->format(), text);
  ASSERT_EQ(table->races().size(), 2u);
  EXPECT_EQ(table->races()[1], (RaceRecord{"Yello", "911PIZ", 120, 1796598600}));

  // Names that would break the line are written with spaces; the new race comes last.
  EXPECT_TRUE(table->add({"Blue\tSky", "Flying\nTaco", 77, 0}));
  EXPECT_EQ(table->format(),
            text + RaceLine("Blue Sky", "Flying Taco", "77", "1970-01-01T00:00:00Z"));
  EXPECT_EQ(table->best("Blue\tSky", "Flying\nTaco")->seconds, 77);

  // A new table explains itself.
  EXPECT_TRUE(RecordsTable().format().starts_with(Header + "# "));
}

TEST(RecordsFormat, KeepsTenBestPerTrackAndTheBestOfEachCar) {
  RecordsTable table;
  for (int i = 0; i < 10; ++i) EXPECT_TRUE(table.add({"Sunny", "SMiLE", 100 + i, i}));
  // Full: a slower SMiLE race is not kept, a slow other car's first race is.
  EXPECT_FALSE(table.add({"Sunny", "SMiLE", 200, 50}));
  EXPECT_TRUE(table.add({"Sunny", "911PIZ", 300, 51}));
  EXPECT_TRUE(table.add({"Yello", "SMiLE", 300, 52}));  // another track is counted apart
  // An equal time does not push out the race that was there first.
  EXPECT_FALSE(table.add({"Sunny", "SMiLE", 109, 53}));

  std::vector<int64_t> sunny;
  for (const RaceRecord& race : table.races())
    if (race.track == "Sunny") sunny.push_back(race.seconds);
  EXPECT_EQ(sunny, (std::vector<int64_t>{100, 101, 102, 103, 104, 105, 106, 107, 108, 109, 300}));
  // The car's slower race goes, and so does the tenth, now eleventh.
  EXPECT_TRUE(table.add({"Sunny", "911PIZ", 99, 54}));
  const auto pairs = table.bestOfEachPair();
  ASSERT_EQ(pairs.size(), 3u);
  EXPECT_EQ(pairs[0], (RaceRecord{"Sunny", "911PIZ", 99, 54}));
  EXPECT_EQ(pairs[2].track, "Yello");
}

TEST(RecordsFormat, AFileCutAtAnyByteLosesNothingItHeld) {
  const std::string text = Header + "# note\n" + RaceLine("Sunny", "SMiLE", "95") +
                           RaceLine("Yello", "FlyingTaco", "1234") + "future\tline\n";
  const auto whole = RecordsTable::parse(text)->races();
  for (size_t length = 0; length <= text.size(); ++length) {
    SCOPED_TRACE(length);
    const std::string cut = text.substr(0, length);
    const auto table = RecordsTable::parse(cut);
    if (length < Header.size() - 1) {
      EXPECT_EQ(table.has_value(), length == 0);  // only the empty file is taken (as empty)
      continue;
    }
    ASSERT_TRUE(table);
    // Written again it holds the cut text whole; every race it read is one of the file's.
    EXPECT_EQ(table->format(), cut.ends_with('\n') ? cut : cut + '\n');
    const auto races = table->races();
    ASSERT_LE(races.size(), whole.size());
    EXPECT_TRUE(std::equal(races.begin(), races.end(), whole.begin()));
  }
}

TEST(RecordsFormat, GarbageIsRefusedAndBadRaceLinesAreOnlyKept) {
  for (const std::string& text : std::vector<std::string>{
           "garbage", "\x7f\x45LF\x02\x01", "quillon-best-times", "quillon-best-times 0\n",
           "quillon-best-times x\n", "quillon-best-times 1 \n", " quillon-best-times 1\n",
           std::string("\0\n", 2)}) {
    EXPECT_FALSE(RecordsTable::parse(text)) << text;
  }
  for (const std::string& line : std::vector<std::string>{
           RaceLine("Sunny", "SMiLE", "-5"), RaceLine("Sunny", "SMiLE", "095"),
           RaceLine("Sunny", "SMiLE", ""), RaceLine("Sunny", "SMiLE", "1234567890"),
           RaceLine("Sunny", "SMiLE", "9", "2026-02-30T00:00:00Z"),
           RaceLine("Sunny", "SMiLE", "9", "2026-12-06 23:10:00Z"),
           "race\tSunny\tSMiLE\t95\t2026-12-06T23:10:00Z\textra\n"}) {
    const auto table = RecordsTable::parse(Header + line);
    ASSERT_TRUE(table) << line;
    EXPECT_TRUE(table->races().empty()) << line;
    EXPECT_EQ(table->format(), Header + line);
  }
}

// The store of a test: its own data folder, failures said into `said`.
class BestTimesTest : public ::testing::Test {
 protected:
  BestTimesTest() { store.errors = &said; }
  FinishRecord finish(const std::string& car, int64_t seconds, std::time_t date = 1000) {
    return store.recordFinish({"Sunny", car, seconds, date});
  }
  int messages() const {
    const std::string text = said.str();
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
  }
  std::vector<fs::path> folderEntries() const {
    return testing_support::FolderEntries(file.parent_path());
  }

  testing_support::ScratchFolder scratch;
  const fs::path file = BestTimesFile();
  std::ostringstream said;
  BestTimes store;
};

TEST_F(BestTimesTest, FileLivesUnderXdgDataHomeAndIsCreatedAtTheFirstFinish) {
  EXPECT_EQ(file, scratch.path() / "share" / "quillon" / "best-times.txt");
  EXPECT_FALSE(store.best("Sunny", "SMiLE"));
  EXPECT_FALSE(fs::exists(file.parent_path()));  // reading creates nothing

  auto first = finish("SMiLE", 95);
  EXPECT_TRUE(first.newBest);
  EXPECT_EQ(first.best, 95);
  auto slower = finish("SMiLE", 97);
  EXPECT_FALSE(slower.newBest);
  EXPECT_EQ(slower.best, 95);
  EXPECT_TRUE(finish("SMiLE", 94).newBest);
  EXPECT_EQ(messages(), 0);
  EXPECT_EQ((fs::status(file.parent_path()).permissions() & fs::perms::all), fs::perms::owner_all);

  // A file kept elsewhere through a link is written there, and the link stays.
  fs::rename(file, scratch.path() / "elsewhere.txt");
  fs::create_symlink(scratch.path() / "elsewhere.txt", file);
  EXPECT_TRUE(finish("SMiLE", 90).newBest);
  EXPECT_TRUE(fs::is_symlink(file));
  EXPECT_EQ(RecordsTable::parse(ReadFile(scratch.path() / "elsewhere.txt"))->races().size(), 4u);

  EXPECT_EQ(BestTimes().best("Sunny", "SMiLE"), 90);  // another run reads it
}

TEST_F(BestTimesTest, UnreadableFileIsMovedAsideOnceSaidAndNeverOverwritten) {
  const std::string broken("not\0 a best-times file", 22);
  WriteFile(file, broken);
  EXPECT_FALSE(store.best("Sunny", "SMiLE"));
  EXPECT_EQ(messages(), 1);
  const auto aside = folderEntries();
  ASSERT_EQ(aside.size(), 1u);
  EXPECT_TRUE(aside[0].string().starts_with("best-times.txt.broken-")) << aside[0];
  EXPECT_EQ(ReadFile(file.parent_path() / aside[0]), broken);

  // Broken again within the same second, and a folder in the file's place: each goes aside
  // under a name of its own; the game goes on and writes its race.
  WriteFile(file, "garbage");
  EXPECT_EQ(finish("SMiLE", 95).best, 95);
  fs::remove(file);
  fs::create_directory(file);
  EXPECT_EQ(finish("SMiLE", 96).best, 96);
  EXPECT_EQ(folderEntries().size(), 4u);
  EXPECT_EQ(messages(), 1);  // said once
  EXPECT_EQ(RecordsTable::parse(ReadFile(file))->races().size(), 1u);

  // An empty file holds no races and is no fault.
  WriteFile(file, "");
  EXPECT_TRUE(BestTimes().table().races().empty());
  EXPECT_EQ(folderEntries().size(), 4u);
}

TEST_F(BestTimesTest, FailedWritesKeepTheOldFileAndTheRacesOfTheRun) {
  finish("SMiLE", 100);
  const std::string before = ReadFile(file);
  // A full disk after a few bytes, a disk that cannot flush, a read-only folder, a failed rename.
  struct Failure {
    const char* what;
    void (*inject)(FileCalls&);
  };
  const Failure failures[] = {
      {"full disk",
       [](FileCalls& c) {
         c.write = [](int fd, const void* data, size_t size) -> ssize_t {
           if (lseek(fd, 0, SEEK_CUR) >= 10) return errno = ENOSPC, -1;
           return ::write(fd, data, std::min<size_t>(size, 10));
         };
       }},
      {"flush", [](FileCalls& c) { c.sync = [](int) { return errno = EIO, -1; }; }},
      {"read-only", [](FileCalls& c) { c.makeTemp = [](char*) { return errno = EROFS, -1; }; }},
      {"rename",
       [](FileCalls& c) { c.rename = [](const char*, const char*) { return errno = EXDEV, -1; }; }},
  };
  int64_t seconds = 99;
  for (const Failure& failure : failures) {
    SCOPED_TRACE(failure.what);
    store.fileCalls = {};
    failure.inject(store.fileCalls);
    const auto record = finish("911PIZ", seconds);
    EXPECT_TRUE(record.newBest);  // the finish message is as always
    EXPECT_EQ(store.best("Sunny", "911PIZ"), seconds--);
    EXPECT_EQ(ReadFile(file), before);
    EXPECT_EQ(folderEntries(), std::vector<fs::path>{"best-times.txt"});
  }
  EXPECT_EQ(messages(), 1);
  EXPECT_NE(said.str().find("not saved"), std::string::npos);

  // Once writing works again the races of the run are written with the next one.
  store.fileCalls = {};
  finish("FlyingTaco", 120);
  const auto saved = RecordsTable::parse(ReadFile(file))->races();
  EXPECT_EQ(saved.size(), 6u);
  EXPECT_EQ(BestTimes().best("Sunny", "911PIZ"), 96);
}

TEST_F(BestTimesTest, ReadOnlyFolderNeitherStopsTheGameNorLosesTheBrokenFile) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not hold for root";
  WriteFile(file, "garbage");
  fs::permissions(file.parent_path(), fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_EQ(finish("SMiLE", 95).best, 95);  // cannot move it aside: kept, not written over
  EXPECT_EQ(finish("SMiLE", 90).best, 90);
  fs::permissions(file.parent_path(), fs::perms::owner_all);
  EXPECT_EQ(ReadFile(file), "garbage");
  EXPECT_EQ(messages(), 2);  // the broken file, then the writes
}

TEST_F(BestTimesTest, WritesKeepModeLinksAndNewerFilesAndCleanTheirOwnLeftovers) {
  finish("SMiLE", 95);
  // The mode of the file is kept; a temporary file left by a write killed half-way goes.
  fs::permissions(file, fs::perms(0644));
  WriteFile(file.string() + ".tmp-Ab12Cd", "half");
  WriteFile(file.string() + ".tmp-other", "not ours");
  finish("SMiLE", 94);
  EXPECT_EQ(fs::status(file).permissions() & fs::perms::all, fs::perms(0644));
  EXPECT_EQ(folderEntries(), (std::vector<fs::path>{"best-times.txt", "best-times.txt.tmp-other"}));

  // A link whose target is missing is followed: the target is made and the link stays.
  fs::remove(file);
  fs::create_symlink("../kept/times.txt", file);
  fs::create_directories(scratch.path() / "share" / "kept");
  finish("SMiLE", 93);
  EXPECT_TRUE(fs::is_symlink(file));
  EXPECT_NE(ReadFile(scratch.path() / "share/kept/times.txt").find("\t93\t"), std::string::npos);

  // A newer version's file is read but never written, said once.
  fs::remove(file);
  const std::string newer =
      "quillon-best-times 2\n" + RaceLine("Sunny", "SMiLE", "90") + std::string(12, '\n');
  WriteFile(file, newer);
  EXPECT_EQ(finish("SMiLE", 91).best, 90);
  EXPECT_EQ(finish("911PIZ", 91).best, 91);
  EXPECT_EQ(ReadFile(file), newer);
  EXPECT_EQ(messages(), 1);

  // A file of blank lines up to the limit is written back within it, said once.
  WriteFile(file, Header + std::string((1 << 20) - Header.size(), '\n'));
  finish("SMiLE", 92);
  finish("SMiLE", 89);
  EXPECT_LE(fs::file_size(file), size_t{1} << 20);
  EXPECT_EQ(BestTimes().table().races().size(), 4u);  // 91, 91 of the run before, 92, 89
  EXPECT_EQ(messages(), 2);
}

TEST_F(BestTimesTest, EightGamesFinishingTogetherKeepEveryRace) {
  finish("SMiLE", 500);  // the folder and file exist: all eight race to read, add and write
  std::vector<pid_t> games;
  for (int game = 0; game < 8; ++game) {
    const pid_t pid = fork();
    if (pid == 0) {
      BestTimes own;
      for (int race = 0; race < 5; ++race)
        own.recordFinish({"T" + std::to_string(game * 5 + race), "SMiLE", 60, 0});
      _exit(0);
    }
    games.push_back(pid);
  }
  for (pid_t pid : games) {
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
  }
  EXPECT_EQ(BestTimes().table().races().size(), 41u);
  EXPECT_EQ(folderEntries(), std::vector<fs::path>{"best-times.txt"});
}

}  // namespace
