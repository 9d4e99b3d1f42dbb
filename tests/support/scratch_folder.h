// A fresh working folder with an empty Data/ for the length of a test, so the game's setup
// loads exactly what the test puts there (never a Data/ that happens to be in the build folder).
// XDG_DATA_HOME and XDG_CONFIG_HOME point into it too: a race finished or a setting changed by a
// test is kept there, never in the player's own folders.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace testing_support {

class ScratchFolder {
 public:
  ScratchFolder() : previous_(std::filesystem::current_path()) {
    std::string pattern = (std::filesystem::temp_directory_path() / "quillon_XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "no scratch folder";
    path_ = pattern;
    std::filesystem::create_directory(path_ / "Data");
    std::filesystem::current_path(path_);
    for (auto& [name, folder, previous] : homes_) {
      if (const char* value = getenv(name)) previous = value;
      setenv(name, (path_ / folder).c_str(), 1);
    }
  }
  ~ScratchFolder() {
    for (auto& [name, folder, previous] : homes_) {
      if (previous)
        setenv(name, previous->c_str(), 1);
      else
        unsetenv(name);
    }
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(path_);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path previous_;
  std::filesystem::path path_;
  struct Home {
    const char* name;
    const char* folder;
    std::optional<std::string> previous;
  };
  Home homes_[2] = {{"XDG_DATA_HOME", "share", {}}, {"XDG_CONFIG_HOME", "config", {}}};
};

// The whole of a file, and a file written whole, its folder made first.
inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}
inline void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}
// The names in a folder, in order.
inline std::vector<std::filesystem::path> FolderEntries(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> entries;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    entries.push_back(entry.path().filename());
  std::sort(entries.begin(), entries.end());
  return entries;
}

}  // namespace testing_support
