// The data folder search and its one report on standard error.
#include "app/data_location.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "assets/data_root.h"
#include "assets/terminal_text.h"

namespace fs = std::filesystem;

namespace {

// The files of Data/ the game reads.
constexpr const char* GameFiles[] = {
    "menuMain.bmp",      "menuCar.bmp",        "menuTrack.bmp",   "Road.bmp",
    "Road2.bmp",         "border.bmp",         "border1.bmp",     "border2.bmp",
    "Sky.bmp",           "SkyBleuetForet.bmp", "SkyNocturne.bmp", "bannerStart.ms3d",
    "bannerStart1.ms3d", "bannerStart2.ms3d",  "bannerStart.bmp", "bannerStart1.bmp",
    "bannerStart2.bmp",  "wingman.ms3d",       "wingman.bmp",     "pizzacar.ms3d",
    "pizzacar.bmp",      "flyingtaco.ms3d",    "flyingtaco.bmp"};

// How many of the game's files are missing from folder/Data.
size_t MissingGameFiles(const fs::path& folder) {
  size_t missing = 0;
  for (const char* name : GameFiles) {
    std::error_code error;
    if (!fs::is_regular_file(folder / "Data" / name, error)) ++missing;
  }
  return missing;
}

}  // namespace

std::vector<std::string> DataFolderCandidates(const char* environmentDataDir,
                                              const std::string& executableDir) {
  std::vector<std::string> candidates{""};
  if (environmentDataDir && *environmentDataDir) candidates.emplace_back(environmentDataDir);
  if (!executableDir.empty()) {
    candidates.push_back((fs::path(executableDir) / QUILLON_DATA_FROM_BIN).lexically_normal());
  }
  return candidates;
}

DataFolderChoice ChooseDataFolder(const std::vector<std::string>& candidates) {
  DataFolderChoice choice;
  for (const std::string& candidate : candidates) {
    std::error_code error;
    const fs::path folder = candidate.empty() ? fs::current_path(error) : fs::path(candidate);
    choice.lookedIn.push_back(folder.string());
    // The working folder's Data/ counts only when it holds one of the game's files: a Data/ of
    // the player's own (the desktop entry starts the game in the home folder) is not the game's.
    const bool counts = fs::is_directory(folder / "Data", error) &&
                        (!candidate.empty() || MissingGameFiles(folder) < std::size(GameFiles));
    if (!choice.found && counts) {
      choice.found = true;
      choice.folder = candidate;
      choice.used = folder.string();
      choice.missing = MissingGameFiles(folder);
    }
  }
  return choice;
}

void LocateGameData() {
  std::error_code error;
  const fs::path executable = fs::read_symlink("/proc/self/exe", error);
  const std::string executableDir = error ? std::string() : executable.parent_path().string();
  const DataFolderChoice choice =
      ChooseDataFolder(DataFolderCandidates(std::getenv("QUILLON_DATA_DIR"), executableDir));
  if (choice.found) {
    SetDataRoot(choice.folder);
    if (choice.missing > 0) {
      std::fprintf(stderr,
                   "quillon: %zu of the game's %zu files are missing from %s/Data; "
                   "running with what is there.\n",
                   choice.missing, std::size(GameFiles), TerminalText(choice.used).c_str());
    }
    return;
  }
  std::string folders;
  for (const std::string& folder : choice.lookedIn) folders += "\n  " + TerminalText(folder);
  std::fprintf(stderr,
               "quillon: no Data/ folder with the game's pictures and models in any of:%s\n"
               "quillon: running without them.\n",
               folders.c_str());
}
