// Shared by the content tests: one generated Data folder per test process, and the names of
// every file the game opens.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "content/content_generator.h"

namespace content_testing {

// A folder holding freshly generated content, made once per process in the temp folder.
inline const std::string& GeneratedDataFolder() {
  static const std::string folder = [] {
    auto path = std::filesystem::temp_directory_path() /
                ("quillon-content-" + std::to_string(getpid())) / "Data";
    std::filesystem::remove_all(path.parent_path());
    std::string error;
    if (!content::GenerateContent(path.string(), &error)) return std::string();
    return path.string();
  }();
  return folder;
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
