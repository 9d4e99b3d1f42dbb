// Finding the folder that holds the game's Data/: the working folder, then QUILLON_DATA_DIR, then
// the data folder installed relative to the executable.
#pragma once

#include <string>
#include <vector>

// The folders to look in, in order; the working folder is given as "".
std::vector<std::string> DataFolderCandidates(const char* environmentDataDir,
                                              const std::string& executableDir);

struct DataFolderChoice {
  bool found = false;
  std::string folder;                 // the first candidate with a Data/ folder in it
  std::vector<std::string> lookedIn;  // every candidate, the working folder as an absolute path
};

DataFolderChoice ChooseDataFolder(const std::vector<std::string>& candidates);

// What the game does at start: chooses the folder, makes it the root of relative asset paths,
// and when no candidate has Data/ says so once on standard error (the game then runs untextured).
void LocateGameData();
