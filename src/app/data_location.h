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
  // The first candidate with a Data/ folder in it; the working folder's counts only when it
  // holds at least one of the game's files.
  std::string folder;
  std::string used;                   // that folder as an absolute path
  size_t missing = 0;                 // how many of the game's files its Data/ lacks
  std::vector<std::string> lookedIn;  // every candidate, the working folder as an absolute path
};

DataFolderChoice ChooseDataFolder(const std::vector<std::string>& candidates);

// What the game does at start: chooses the folder, makes it the root of relative asset paths,
// and when no candidate has Data/, or the chosen one lacks some of the game's files, says so
// once on standard error, naming the folders (the game then runs with what there is).
void LocateGameData();
