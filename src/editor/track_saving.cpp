// Copy names, file names and the atomic save of an edited track.
#include "editor/track_saving.h"

#include <algorithm>
#include <system_error>

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

std::string TrackFileName(const std::string& name) {
  std::string base;
  for (char c : name) {
    if (base.size() >= 48) break;
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    base += plain || c == '-' ? c : '_';
  }
  if (std::none_of(base.begin(), base.end(), [](char c) { return c != '_' && c != '-'; }))
    base = "track";
  return base + ".track";
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
  if (!MakePrivateFolders(folder, out.error)) return out;
  RecordsLock lock(folder.parent_path(), out.error);
  if (!lock.held()) return out;
  if (own) {
    out.path = *own;
  } else {
    const std::string file = TrackFileName(name);
    const std::string stem = file.substr(0, file.size() - 6);
    out.path = folder / file;
    std::error_code error;
    for (int number = 2; std::filesystem::exists(std::filesystem::symlink_status(out.path, error));
         ++number)
      out.path = folder / (stem + "-" + std::to_string(number) + ".track");
  }
  out.saved = WriteFileAtomically(out.path, text, out.error);
  return out;
}
