// Listing the pictures a track may choose.
#include "editor/track_pictures.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return text;
}

std::vector<std::string> Pictures(const std::string& folder, const std::string& prefix) {
  std::vector<std::string> names;
  std::error_code error;
  if (folder.empty()) return names;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error)) {
    const std::string name = it->path().filename().string();
    const std::string lower = Lower(name);
    if (lower.ends_with(".bmp") && lower.starts_with(prefix) && it->is_regular_file(error))
      names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

std::vector<std::string> PictureChoices(PictureKind kind, const std::string& dataFolder,
                                        const std::string& trackFolder,
                                        const std::string& current) {
  const char* prefix = kind == PictureKind::Road     ? "road"
                       : kind == PictureKind::Border ? "border"
                                                     : "sky";
  std::vector<std::string> choices = Pictures(dataFolder, prefix);
  for (const std::string& name : Pictures(trackFolder, ""))
    if (std::find(choices.begin(), choices.end(), name) == choices.end()) choices.push_back(name);
  if (!current.empty() && std::find(choices.begin(), choices.end(), current) == choices.end())
    choices.push_back(current);
  return choices;
}

std::string StepPicture(const std::vector<std::string>& choices, const std::string& current,
                        int step) {
  if (choices.empty()) return current;
  const auto found = std::find(choices.begin(), choices.end(), current);
  const long count = static_cast<long>(choices.size());
  const long at = found == choices.end() ? 0 : found - choices.begin();
  return choices[static_cast<size_t>(((at + step) % count + count) % count)];
}
