// Finding and reading track files.
#include "track/track_sources.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "assets/data_root.h"
#include "assets/terminal_text.h"
#include "platform/regular_file.h"
#include "assets/player_folders.h"

TrackFileReading ReadTrackFile(const std::string& path) {
  platform::RegularFile file(path.c_str());
  TrackFileReading refused;
  if (!file.opened()) {
    const char* reason = file.status() == platform::RegularFile::Status::Missing ? "no such file"
                         : file.status() == platform::RegularFile::Status::NotRegular
                             ? "not a regular file"
                             : std::strerror(file.errorNumber());
    refused.refusals.push_back({0, reason});
    return refused;
  }
  if (file.size() > TrackFileMaxBytes) {
    refused.refusals.push_back({0, "larger than " + std::to_string(TrackFileMaxBytes) + " bytes"});
    return refused;
  }
  std::string text;
  if (!file.readUpTo(text, TrackFileMaxBytes)) {
    refused.refusals.push_back({0, "could not be read"});
    return refused;
  }
  return ParseTrackFile(text);
}

std::vector<std::string> TrackFileMessages(const std::string& path,
                                           const TrackFileReading& reading) {
  std::vector<std::string> lines;
  const auto add = [&](const TrackFileLine& line, const char* kind) {
    std::string text = TerminalText(path);
    if (line.line > 0) text += ":" + std::to_string(line.line);
    lines.push_back(text + ": " + kind + line.text);
  };
  for (const TrackFileLine& line : reading.refusals) add(line, "refused: ");
  for (const TrackFileLine& line : reading.notes) add(line, "");
  return lines;
}

std::vector<std::string> TrackFolders() {
  std::vector<std::string> folders = {AssetPath("Data/Tracks")};
  if (const std::filesystem::path player = PlayerDataFolder(); !player.empty())
    folders.push_back((player / "tracks").string());
  return folders;
}

std::vector<TrackFileEntry> FindTrackFiles(const std::vector<std::string>& folders,
                                           std::vector<std::string> takenNames,
                                           std::vector<std::string>& messages, size_t limit,
                                           const std::function<void()>& betweenFiles) {
  std::vector<TrackFileEntry> found;
  size_t leftOut = 0;
  for (const std::string& folder : folders) {
    std::vector<std::string> paths;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
      const std::filesystem::path& path = it->path();
      if (path.extension() == ".track") paths.push_back(path.string());
    }
    std::sort(paths.begin(), paths.end());
    for (const std::string& path : paths) {
      if (found.size() >= limit) {
        ++leftOut;
        continue;
      }
      if (betweenFiles) betweenFiles();
      TrackFileReading reading = ReadTrackFile(path);
      if (reading.good() &&
          std::find(takenNames.begin(), takenNames.end(), reading.content.name) != takenNames.end())
        reading.refusals.push_back(
            {0, "a track named '" + TerminalText(reading.content.name) + "' is already there"});
      for (std::string& line : TrackFileMessages(path, reading))
        messages.push_back(std::move(line));
      if (!reading.good()) continue;
      takenNames.push_back(reading.content.name);
      found.push_back({path, folder, std::move(reading.content)});
    }
  }
  if (leftOut > 0)
    messages.push_back(std::to_string(leftOut) + " more track file" + (leftOut == 1 ? "" : "s") +
                       " left out, not read: the track selection holds at most " +
                       std::to_string(limit) + " tracks from files");
  return found;
}
