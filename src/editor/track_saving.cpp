// Copy names, file names and the atomic save of an edited track.
#include "editor/track_saving.h"

#include <algorithm>
#include <system_error>

#include "assets/file_name_of.h"
#include "records/player_file.h"
#include "records/records_file.h"
#include "track/track_file.h"

namespace {

// Characters of UTF-8 text (its lead bytes).
size_t Characters(const std::string& text) {
  return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

// `text` cut to at most `count` characters, never inside one.
std::string FirstCharacters(const std::string& text, size_t count) {
  size_t seen = 0, end = 0;
  for (; end < text.size(); ++end) {
    if ((static_cast<unsigned char>(text[end]) & 0xC0) != 0x80 && seen++ == count) break;
  }
  return text.substr(0, end);
}

}  // namespace

std::string CopyName(const std::string& name, const std::vector<std::string>& taken) {
  for (int number = 2;; ++number) {
    const std::string suffix = " " + std::to_string(number);
    const size_t room = TrackMaxNameLength - suffix.size();
    std::string base = Characters(name) > room ? FirstCharacters(name, room) : name;
    while (!base.empty() && base.back() == ' ') base.pop_back();
    const std::string candidate = base + suffix;
    if (std::find(taken.begin(), taken.end(), candidate) == taken.end()) return candidate;
  }
}

std::filesystem::path PlayerTrackFolder() {
  const std::filesystem::path records = RecordsFolder();
  return records.empty() ? records : records / "tracks";
}

TrackSaving SaveTrackText(const std::filesystem::path& folder, const std::string& name,
                          const std::string& text,
                          const std::optional<std::filesystem::path>& own) {
  TrackSaving out;
  if (folder.empty()) {
    out.error = "no folder for the player's tracks (neither XDG_DATA_HOME nor HOME is set)";
    return out;
  }
  const auto taken = [](const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(path, error));
  };
  out.path = own ? *own : folder / FileNameOf({name}, ".track");
  for (int number = 2; !own && taken(out.path); ++number)
    out.path = folder / FileNameOf({name, std::to_string(number)}, ".track");
  // Under the lock, a file another run made there meanwhile is left alone.
  const WriteResult result = WriteUnderLock(
      out.path, folder.parent_path(),
      [&](std::string& error) -> std::optional<std::string> {
        if (!own && taken(out.path)) {
          error = "another game saved a track under that file name just now; save again";
          return std::nullopt;
        }
        return text;
      },
      FileCalls{}, out.error);
  out.saved = result == WriteResult::Written;
  return out;
}
