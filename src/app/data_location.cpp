// The data folder search and its one report on standard error.
#include "app/data_location.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "assets/data_root.h"

namespace fs = std::filesystem;

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
    if (!choice.found && fs::is_directory(folder / "Data", error)) {
      choice.found = true;
      choice.folder = candidate;
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
    return;
  }
  std::string folders;
  for (const std::string& folder : choice.lookedIn) folders += "\n  " + folder;
  std::fprintf(stderr,
               "quillon: no Data/ folder with the game's pictures and models in any of:%s\n"
               "quillon: running without them.\n",
               folders.c_str());
}
