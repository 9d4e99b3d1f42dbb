// Shared by the content tests: one generated Data folder per test process, and the names of
// every file the game opens.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "content/content_generator.h"

namespace content_testing {

// A folder holding freshly generated content, made once per process in the temp folder and
// removed at exit.
inline const std::string& GeneratedDataFolder() {
  struct Folder {
    std::filesystem::path root;
    std::string data;
    Folder() {
      root =
          std::filesystem::temp_directory_path() / ("quillon-content-" + std::to_string(getpid()));
      std::filesystem::remove_all(root);
      if (content::GenerateContent((root / "Data").string())) data = (root / "Data").string();
    }
    ~Folder() {
      std::error_code ec;
      std::filesystem::remove_all(root, ec);
    }
  };
  static const Folder folder;
  return folder.data;
}

inline const std::vector<std::string>& GamePictureNames() {
  static const std::vector<std::string> names = {
      "menuMain.bmp", "menuCar.bmp",        "menuTrack.bmp",  "Road.bmp",
      "Road2.bmp",    "border.bmp",         "border1.bmp",    "border2.bmp",
      "Sky.bmp",      "SkyBleuetForet.bmp", "SkyNocturne.bmp"};
  return names;
}

inline const std::vector<std::string>& GameModelNames() {
  static const std::vector<std::string> names = {"wingman.ms3d",      "pizzacar.ms3d",
                                                 "flyingtaco.ms3d",   "bannerStart.ms3d",
                                                 "bannerStart1.ms3d", "bannerStart2.ms3d"};
  return names;
}

}  // namespace content_testing
