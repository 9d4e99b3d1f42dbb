// Ghosts shared between players: the player's best written out to a file, other players' files
// checked and kept apart in ghosts/imported/, and the fastest of those found for a race.
// In records/, the player's own files, GL-free and below the menus and race.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "records/ghost_format.h"

struct ImportedGhost {
  std::filesystem::path file;
  GhostLabel label;  // whose it is, and its track and car
  GhostPath path;
};

// ghosts/imported/ in the folder of the player's data; empty when there is none.
std::filesystem::path ImportedGhostFolder();

// Writes the player's kept ghost of this track and car to `target` as a file of the current
// version carrying the player's name (the one in the kept file, else the `name` setting). False
// with `error` set when there is no such ghost or it cannot be written.
bool ExportGhost(const std::string& track, const std::string& car,
                 const std::filesystem::path& target, std::string& error);

// Checks `source` as the game reads ghosts and keeps its bytes in ImportedGhostFolder() as
// "<track>-<car>-<player>.ghost" (replacing an earlier import of the same player, track and
// car), under the lock of the player's files. False with `reason` set, and nothing stored, for a
// file that cannot be read, is not a whole ghost, is of a newer version, is of version 1 (which
// names no track) or was driven on a track whose key is not among `trackKeys`.
bool ImportGhost(const std::filesystem::path& source, const std::vector<std::string>& trackKeys,
                 std::string& reason, ImportedGhost* imported = nullptr);

// Every imported ghost that reads whole, by file name; other files are skipped and left as they
// are (they are only read).
std::vector<ImportedGhost> ImportedGhosts();
// The fastest imported ghost of this track and car (on equal times the first by file name).
std::optional<ImportedGhost> FastestImportedGhost(const std::string& track, const std::string& car);
