// A fresh working folder with an empty Data/ for the length of a test, so the game's setup
// loads exactly what the test puts there (never a Data/ that happens to be in the build folder).
// XDG_DATA_HOME points into it too: a race finished by a test keeps its best time there, never
// in the player's own folder.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <string>

namespace testing_support {

class ScratchFolder {
 public:
  ScratchFolder() : previous_(std::filesystem::current_path()) {
    std::string pattern = (std::filesystem::temp_directory_path() / "quillon_XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "no scratch folder";
    path_ = pattern;
    std::filesystem::create_directory(path_ / "Data");
    std::filesystem::current_path(path_);
    if (const char* data = getenv("XDG_DATA_HOME")) previousData_ = data;
    setenv("XDG_DATA_HOME", (path_ / "share").c_str(), 1);
  }
  ~ScratchFolder() {
    if (previousData_)
      setenv("XDG_DATA_HOME", previousData_->c_str(), 1);
    else
      unsetenv("XDG_DATA_HOME");
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(path_);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path previous_;
  std::filesystem::path path_;
  std::optional<std::string> previousData_;
};

}  // namespace testing_support
