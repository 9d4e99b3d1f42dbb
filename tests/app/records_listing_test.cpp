// quillon --records: the best time of each track and car with its ghost, read and never written.
#include "app/records_listing.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <sstream>
#include <tuple>

#include "app/ghost_commands.h"
#include "records/best_times.h"
#include "records/ghost_share.h"
#include "records/ghost_store.h"
#include "support/best_times_lines.h"
#include "support/ghost_paths.h"
#include "support/scratch_folder.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ReadFile;
const auto Path = [](int32_t steps) { return testing_support::StraightGhost(steps); };
using testing_support::WriteFile;

using testing_support::RaceLine;
const std::string& Header = testing_support::BestTimesHeader;

class RecordsListingTest : public ::testing::Test {
 protected:
  ~RecordsListingTest() override { GameGhosts = GhostStore(); }
  std::vector<fs::path> folderEntries() const {
    return testing_support::FolderEntries(file.parent_path());
  }

  testing_support::ScratchFolder scratch;
  const fs::path file = BestTimesFile();
};

// The game and --records read CRLF and a byte-order mark through the same parser.
TEST_F(RecordsListingTest, PrintingOnlyReadsAndShowsNamesInFullAndEscaped) {
  std::string crlf = "\xEF\xBB\xBFquillon-best-times 1\r\n" + RaceLine("Sunny", "SMiLE", "95");
  crlf.insert(crlf.size() - 1, "\r");
  // The file, its mode, what is printed and the exit code (1: a failure said).
  const bool root = geteuid() == 0;  // reads a file of mode 0
  const std::tuple<std::string, fs::perms, std::string, int> cases[] = {
      {crlf, fs::perms(0644), "Sunny\tSMiLE\t95 seconds\t2026-12-06\tno ghost\n", 0},
      {Header + RaceLine(std::string("Su\0ny", 5), "\x1b[2J\x7f\xc2\x9bX", "95"), fs::perms(0640),
       "Su\\x00ny\t\\x1B[2J\\x7F\\xC2\\x9BX\t95 seconds\t2026-12-06\tno ghost\n", 0},
      {"garbage", fs::perms(0644), "", 1},
      {Header, fs::perms::none, "", root ? 0 : 1},
  };
  for (const auto& [text, mode, printed, code] : cases) {
    WriteFile(file, text);
    fs::permissions(file, mode);
    std::ostringstream out, errors;
    EXPECT_EQ(PrintRecords(out, errors), code);
    EXPECT_EQ(errors.str().empty(), code == 0);
    EXPECT_EQ(out.str(), printed);
    EXPECT_EQ(folderEntries(), std::vector<fs::path>{"best-times.txt"});
    EXPECT_EQ(fs::status(file).permissions(), mode);
    fs::permissions(file, fs::perms(0644));
    EXPECT_EQ(ReadFile(file), text);
  }
}

TEST_F(RecordsListingTest, RecordsListTheGhostTimeBesideTheBestTime) {
  WriteFile(BestTimesFile(),
            "quillon-best-times 1\nrace\tSunny\tSMiLE\t95\t2026-12-06T23:10:00Z\n"
            "race\tYello\t911PIZ\t120\t2026-12-06T23:10:00Z\n");
  GameGhosts.keep("Sunny", "SMiLE", Path(5674));
  WriteFile(GhostFile("Yello", "911PIZ"), "broken");  // only read: left where it is
  fs::create_directories("Data");
  WriteFile("Data/medals.txt", "Sunny 120 100 95\nYello 200 130 119\n");  // the medals they win
  std::ostringstream out, errors;
  GameBestTimes = BestTimes();
  EXPECT_EQ(PrintRecords(out, errors), 0);
  EXPECT_EQ(fs::file_size(GhostFile("Yello", "911PIZ")), 6u);
  EXPECT_EQ(out.str(),
            "Sunny\tSMiLE\t95 seconds\t2026-12-06\tghost 94.57 seconds\tGold medal\n"
            "Yello\t911PIZ\t120 seconds\t2026-12-06\tno ghost\tSilver medal\n");
  GameBestTimes = BestTimes();
}

// Imported ghosts follow the player's records (listed even without a best-times file), names
// escaped; the import command says each file, and fails for any it refuses.
TEST_F(RecordsListingTest, ImportedGhostsAreListedAndTheImportCommandSaysEachFile) {
  const fs::path offered = scratch.path() / "offered.ghost";
  WriteFile(offered, FormatGhost(Path(3674), {"Zo\x1b[2J", "Sunny", "SMiLE"}));
  WriteFile(scratch.path() / "broken.ghost", "broken");
  std::ostringstream said, problems;
  EXPECT_EQ(ImportGhostCommand({offered.string(), (scratch.path() / "broken.ghost").string()}, said,
                               problems),
            1);
  EXPECT_EQ(said.str(),
            "imported " + offered.string() + ": Zo\\x1B[2J on Sunny with SMiLE, 61.23 seconds\n");
  EXPECT_NE(problems.str().find("broken.ghost: not imported: not a whole ghost file"),
            std::string::npos)
      << problems.str();
  std::ostringstream out, errors;
  EXPECT_EQ(PrintRecords(out, errors), 0);
  EXPECT_EQ(out.str(), "imported\tSunny\tSMiLE\tZo\\x1B[2J\tghost 61.23 seconds\n");
  std::ostringstream exported, failed;
  EXPECT_EQ(ExportGhostCommand({"Sunny", "SMiLE", "x.ghost"}, exported, failed), 1);
  EXPECT_EQ(failed.str(), "quillon: no ghost of Sunny with SMiLE\n");
}

}  // namespace
