// The read every player file shares: a file that cannot be read for a moment stays where it is
// and is never written over, for best times, ghosts and settings alike; only a file read whole
// that is not the kind wanted is moved aside.
#include "records/player_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <sstream>
#include <vector>

#include "records/best_times.h"
#include "records/ghost_share.h"
#include "records/ghost_store.h"
#include "records/settings.h"
#include "support/ghost_paths.h"
#include "support/scratch_folder.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ReadFile;
using testing_support::WriteFile;

// A read that fails as the system would for a moment, with `error`.
FileCalls FailingReads(int error) {
  FileCalls calls;
  calls.read = [error](const fs::path& path, size_t, std::string& bytes, std::string& why) {
    bytes.clear();
    why = path.string() + ": cannot open: " + std::strerror(error);
    return ReadResult::Unreadable;
  };
  return calls;
}

int Lines(const std::string& text) {
  return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

bool AnyMovedAside(const fs::path& folder) {
  for (const auto& entry : fs::directory_iterator(folder))
    if (entry.path().filename().string().find(".broken-") != std::string::npos) return true;
  return false;
}

// Permission refused, an I/O error, too many open files in the process and in the system.
const int Moments[] = {EACCES, EIO, EMFILE, ENFILE};

TEST(PlayerFile, TooManyOpenFilesIsUnreadableNotAFileOfTheWrongKind) {
  testing_support::ScratchFolder scratch;
  const fs::path file = scratch.path() / "f.txt";
  WriteFile(file, "text");
  std::string bytes, error;
  // Every descriptor the soft limit allows taken, as a game leaking files would.
  rlimit limit{};
  ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &limit), 0);
  const rlimit lowered{64, limit.rlim_max};
  ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &lowered), 0);
  std::vector<int> taken;
  for (int fd; (fd = ::dup(0)) >= 0;) taken.push_back(fd);
  const ReadResult read = ReadWholeFile(file, 100, bytes, error);
  for (int fd : taken) ::close(fd);
  ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &limit), 0);
  EXPECT_EQ(read, ReadResult::Unreadable);
  EXPECT_NE(error.find(std::strerror(EMFILE)), std::string::npos) << error;
  // Not a regular file, or longer than any file of the kind: never read, but surely not one.
  EXPECT_EQ(ReadWholeFile(scratch.path(), 100, bytes, error), ReadResult::Failed);
  EXPECT_EQ(ReadWholeFile(file, 3, bytes, error), ReadResult::Failed);
  EXPECT_EQ(ReadWholeFile(file, 4, bytes, error), ReadResult::Read);
}

TEST(PlayerFile, UnreadableBestTimesStayAndTheRunsRacesAreWrittenOnceItReads) {
  for (int moment : Moments) {
    testing_support::ScratchFolder scratch;
    const fs::path file = BestTimesFile();
    const std::string kept = "quillon-best-times 1\nrace\tSunny\tSMiLE\t95\t2026-12-06T23:10:00Z\n";
    WriteFile(file, kept);
    std::ostringstream said;
    BestTimes store;
    store.errors = &said;
    store.fileCalls = FailingReads(moment);
    EXPECT_EQ(store.recordFinish({"Sunny", "911PIZ", 90, 1000}).best, 90);
    EXPECT_EQ(store.recordFinish({"Yello", "SMiLE", 80, 1000}).best, 80);
    EXPECT_EQ(ReadFile(file), kept) << moment;
    EXPECT_FALSE(AnyMovedAside(file.parent_path())) << moment;
    EXPECT_EQ(Lines(said.str()), 1) << said.str();
    EXPECT_NE(said.str().find("left where it is"), std::string::npos) << said.str();
    store.fileCalls = {};
    store.recordFinish({"Sunny", "SMiLE", 99, 1000});
    EXPECT_EQ(BestTimes().table().races().size(), 4u) << moment;
  }
}

TEST(PlayerFile, UnreadableGhostStaysAndIsNeverReplaced) {
  const GhostPath path = testing_support::StraightGhost(20, 1);
  for (int moment : Moments) {
    testing_support::ScratchFolder scratch;
    const fs::path file = GhostFile("Sunny", "SMiLE");
    WriteFile(file, "who knows");
    GhostStore store;
    std::ostringstream said;
    store.errors = &said;
    store.fileCalls = FailingReads(moment);
    EXPECT_FALSE(store.load("Sunny", "SMiLE"));
    EXPECT_FALSE(store.keep("Sunny", "SMiLE", path));
    EXPECT_EQ(ReadFile(file), "who knows") << moment;
    EXPECT_FALSE(AnyMovedAside(file.parent_path())) << moment;
    EXPECT_EQ(Lines(said.str()), 1) << said.str();
    // Read whole and not a ghost: now it goes aside and the race takes its place.
    store.fileCalls = {};
    EXPECT_TRUE(store.keep("Sunny", "SMiLE", path));
    EXPECT_TRUE(AnyMovedAside(file.parent_path()));
  }
}

TEST(PlayerFile, UnreadableSettingsStayAndAreNotWrittenOver) {
  for (int moment : Moments) {
    testing_support::ScratchFolder scratch;
    const fs::path file = SettingsFile();
    WriteFile(file, "quillon-settings 1\nsound\toff\nmine\tkept\n");
    Settings settings;
    std::ostringstream said;
    settings.errors = &said;
    settings.fileCalls = FailingReads(moment);
    EXPECT_TRUE(settings.sound());  // unknown this time: the default
    settings.setGhost(false);
    EXPECT_EQ(ReadFile(file), "quillon-settings 1\nsound\toff\nmine\tkept\n") << moment;
    EXPECT_FALSE(AnyMovedAside(file.parent_path())) << moment;
    EXPECT_EQ(Lines(said.str()), 1) << said.str();
    settings.fileCalls = {};
    settings.reload();
    EXPECT_FALSE(settings.sound());
  }
}

TEST(PlayerFile, ABrokenGhostIsLeftWhileAnotherRunHoldsTheLock) {
  testing_support::ScratchFolder scratch;
  const fs::path file = GhostFile("Sunny", "SMiLE");
  WriteFile(file, "broken");
  std::string error;
  // Another run holding the lock: the load neither waits for it nor moves the file meanwhile.
  RecordsLock other(file.parent_path().parent_path(), error);
  ASSERT_TRUE(other.held()) << error;
  GhostStore store;
  std::ostringstream said;
  store.errors = &said;
  EXPECT_FALSE(store.load("Sunny", "SMiLE"));
  EXPECT_EQ(ReadFile(file), "broken");
  EXPECT_EQ(said.str(), "");
  RecordsLock again(file.parent_path().parent_path(), error, RecordsLock::NoWait);
  EXPECT_FALSE(again.held());
}

}  // namespace

TEST(PlayerFile, AFolderThatCannotBeHadIsSaidOnceAndTheRunsRecordsAreWrittenOnceItCan) {
  // A loop of links, and a file where a folder should be: the calls that look at the folder
  // fail (ELOOP, ENOTDIR) for root as for anyone.
  for (const bool loop : {true, false}) {
    testing_support::ScratchFolder scratch;
    const fs::path data = scratch.path() / "share", config = scratch.path() / "config";
    fs::create_directories(data);
    fs::create_directories(config);
    const auto block = [&](bool on) {
      for (const fs::path& home : {data, config}) {
        fs::remove(home / "quillon");
        if (!on) continue;
        if (loop)
          fs::create_symlink("quillon", home / "quillon");
        else
          WriteFile(home / "quillon", "a file");
      }
    };
    block(true);
    std::ostringstream said;
    BestTimes times;
    GhostStore ghosts;
    Settings settings;
    times.errors = ghosts.errors = settings.errors = &said;
    const GhostPath path = testing_support::StraightGhost(20, 1);
    EXPECT_EQ(times.recordFinish({"Sunny", "SMiLE", 95, 1000}).best, 95);
    EXPECT_FALSE(ghosts.keep("Sunny", "SMiLE", path));
    EXPECT_EQ(ghosts.load("Sunny", "SMiLE"), path);  // kept for the run
    settings.setSound(false);
    EXPECT_FALSE(settings.sound());
    std::string reason;
    WriteFile(scratch.path() / "a.ghost", FormatGhost(path, {"Zoe", "Sunny", "SMiLE"}));
    EXPECT_FALSE(ImportGhost(scratch.path() / "a.ghost", {"Sunny"}, reason));
    EXPECT_NE(reason.find((data / "quillon").string()), std::string::npos) << reason;
    // Each kind of failure said once, on a line naming the folder; the run goes on.
    const std::string once = said.str();
    EXPECT_EQ(times.recordFinish({"Sunny", "SMiLE", 99, 1000}).best, 95);
    EXPECT_FALSE(ghosts.keep("Sunny", "SMiLE", path));
    settings.setGhost(true);
    EXPECT_EQ(said.str(), once);
    std::istringstream lines(once);
    for (std::string line; std::getline(lines, line);) {
      EXPECT_TRUE(line.find((data / "quillon").string()) != std::string::npos ||
                  line.find((config / "quillon").string()) != std::string::npos)
          << line;
    }
    block(false);
    times.recordFinish({"Yello", "SMiLE", 80, 1000});
    EXPECT_EQ(BestTimes().table().races().size(), 3u) << loop;
    EXPECT_TRUE(ghosts.keep("Yello", "SMiLE", path));
    EXPECT_EQ(PeekGhost("Sunny", "SMiLE"), path);
    settings.setGhost(false);
    settings.reload();
    EXPECT_FALSE(settings.sound());
  }
}
