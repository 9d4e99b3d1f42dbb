// Where track files come from and reading them: the data folder's Data/Tracks/, then the
// player's $XDG_DATA_HOME/quillon/tracks/, each in name order. GL-free.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "track/track_file.h"

struct TrackFileEntry {
  std::string path;    // as found, for messages and the track list
  std::string folder;  // the folder it was found in: pictures are looked up there first
  TrackFileContent content;
};

// Reads one file through the safe opener and checks it. A file that cannot be read is refused
// with the reason.
TrackFileReading ReadTrackFile(const std::string& path);
// One line per refusal and note: "<path>:<line>: <reason>" (no line number for the whole file).
std::vector<std::string> TrackFileMessages(const std::string& path,
                                           const TrackFileReading& reading);

// The folders searched, in order: Data/Tracks under the data root, then the player's folder
// ($XDG_DATA_HOME/quillon/tracks, else ~/.local/share/quillon/tracks; none without either).
std::vector<std::string> TrackFolders();

// Every good `*.track` file of the folders, in order, up to `limit` of them: the files after
// the limit are not read, and said in one line. A file whose name is among `takenNames` or an
// earlier file's is refused. Every refusal and note goes to `messages`. `betweenFiles` (if any)
// runs before each file is read.
std::vector<TrackFileEntry> FindTrackFiles(const std::vector<std::string>& folders,
                                           std::vector<std::string> takenNames,
                                           std::vector<std::string>& messages,
                                           size_t limit = static_cast<size_t>(-1),
                                           const std::function<void()>& betweenFiles = {});
