// Naming and saving the editor's tracks: the name of a copy, the file name made from a track's
// name, and the atomic write into the player's track folder. GL-free.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// "<name> 2", "<name> 3" ... the first not in `taken`, the name shortened to keep within the
// track selection's length.
std::string CopyName(const std::string& name, const std::vector<std::string>& taken);

// The player's track folder ($XDG_DATA_HOME/quillon/tracks).
std::filesystem::path PlayerTrackFolder();

struct TrackSaving {
  bool saved = false;
  std::filesystem::path path;
  std::string error;
};

// Writes `text` atomically under the lock of the player's files: over `own` when given (the
// track's own file), else into `folder` under the file name FileNameOf makes of `name` (then of
// `name` and 2, 3 ... when that is taken), so that no other track's file is ever replaced.
TrackSaving SaveTrackText(const std::filesystem::path& folder, const std::string& name,
                          const std::string& text, const std::optional<std::filesystem::path>& own);
