// Where the game looks for Data/: the order of the folders, the first with Data/ winning, and
// relative asset paths read under the chosen folder.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/data_location.h"
#include "assets/data_root.h"
#include "support/scratch_folder.h"

namespace fs = std::filesystem;

namespace {

TEST(DataLocationTest, CandidatesAreWorkingFolderThenEnvironmentThenBesideTheExecutable) {
  auto all = DataFolderCandidates("/opt/q", "/usr/games");
  ASSERT_EQ(all.size(), 3u);
  EXPECT_EQ(all[0], "");
  EXPECT_EQ(all[1], "/opt/q");
  EXPECT_EQ(all[2].rfind("/usr/", 0), 0u);  // the installed data, beside /usr/games
  EXPECT_EQ(DataFolderCandidates("", "/usr/games").size(), 2u);  // empty variable: unset
  EXPECT_EQ(DataFolderCandidates(nullptr, "").size(), 1u);
}

TEST(DataLocationTest, FirstFolderHoldingDataWinsAndAssetsAreReadUnderIt) {
  testing_support::ScratchFolder scratch;  // the working folder, with an empty Data/
  const fs::path env = scratch.path() / "env";
  const fs::path installed = scratch.path() / "installed";
  fs::create_directories(env / "Data");
  fs::create_directories(installed / "Data");
  std::ofstream(installed / "Data" / "x.bmp") << "x";

  // The working folder's Data/ counts only with one of the game's files in it (a player's own
  // ~/Data does not hide the installed data); the other folders need only Data/.
  EXPECT_EQ(ChooseDataFolder({"", installed, env}).folder, installed);
  std::ofstream(scratch.path() / "Data" / "notes.txt") << "x";
  EXPECT_EQ(ChooseDataFolder({"", env, installed}).folder, env);
  std::ofstream(scratch.path() / "Data" / "Road.bmp") << "x";
  DataFolderChoice choice = ChooseDataFolder({"", env, installed});
  EXPECT_EQ(choice.folder, "");
  EXPECT_EQ(choice.used, scratch.path().string());
  EXPECT_EQ(choice.missing, 22u);  // what the one message names with the folder
  fs::remove_all(scratch.path() / "Data");
  EXPECT_EQ(ChooseDataFolder({"", env, installed}).folder, env);
  choice = ChooseDataFolder({"", installed.string() + "/", env});
  EXPECT_EQ(choice.folder, installed.string() + "/");
  fs::remove_all(env);
  fs::remove_all(installed);
  choice = ChooseDataFolder({"", env, installed});
  EXPECT_FALSE(choice.found);
  EXPECT_EQ(choice.lookedIn, (std::vector<std::string>{scratch.path(), env, installed}));
}

TEST(DataLocationTest, RelativeAssetPathsAreReadUnderTheDataRoot) {
  testing_support::ScratchFolder scratch;
  fs::create_directories(scratch.path() / "root" / "Data");
  std::ofstream(scratch.path() / "root" / "Data" / "a.bmp") << "a";
  const std::string absolute = (scratch.path() / "root" / "Data" / "a.bmp").string();
  struct Case {
    std::string root;
    std::string name;
    bool opens;
  } cases[] = {
      {"", "Data/a.bmp", false},     {"root", "Data/a.bmp", true},
      {"root/", "Data/a.bmp", true}, {scratch.path() / "root", "Data/a.bmp", true},
      {"elsewhere", absolute, true}, {"root", "Data/b.bmp", false},
  };
  for (const Case& c : cases) {
    SetDataRoot(c.root);
    std::FILE* file = OpenAssetFile(c.name.c_str());
    EXPECT_EQ(file != nullptr, c.opens) << c.root << " + " << c.name;
    if (file) std::fclose(file);
  }
  SetDataRoot("");
  EXPECT_EQ(OpenAssetFile(nullptr), nullptr);
}

}  // namespace
