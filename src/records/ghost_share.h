// Ghosts shared between players: the player's best written out to a file, other players' files
// checked and kept apart in ghosts/imported/, and the fastest of those found for a race.
// In records/, the player's own files, GL-free and below the menus and race.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "records/ghost_format.h"
#include "records/records_file.h"

struct ImportedGhost {
  std::filesystem::path file;
  GhostLabel label;  // whose it is, and its track and car
  GhostPath path;
};

// What an imported ghost's header says of it.
struct ImportedGhostHeader {
  std::filesystem::path file;
  GhostLabel label;
  int32_t steps = 0;
};

// ghosts/imported/ in the folder of the player's data; empty when there is none.
std::filesystem::path ImportedGhostFolder();

// Writes the player's kept ghost of this track and car to `target` as a file of the current
// version carrying the player's name (the one in the kept file, else the `name` setting). A
// regular file at `target` is replaced; anything else there (a folder, FIFO, device or socket)
// is refused and left as it is. False with `error` set when there is no such ghost or it cannot
// be written.
bool ExportGhost(const std::string& track, const std::string& car,
                 const std::filesystem::path& target, std::string& error);

// Checks `source` as the game reads ghosts and keeps its bytes in ImportedGhostFolder() as
// "<track>-<car>-<player>.ghost" (FileNameOf; replacing an earlier import of the same player,
// track and car), under the lock of the player's files. False with `reason` set, and nothing
// stored, for a file that cannot be read, is not a whole ghost, is of a newer version, is of
// version 1 (which names no track) or was driven on a track whose key is not among `trackKeys`.
bool ImportGhost(const std::filesystem::path& source, const std::vector<std::string>& trackKeys,
                 std::string& reason, ImportedGhost* imported = nullptr);

// The imported ghosts, known by their headers: each file's header is read once (again only when
// the file's size or time changes), and a file is read whole only when it is to be raced or
// listed. Only reads: other files are skipped and left as they are.
class ImportedGhostIndex {
 public:
  // Every imported ghost, by file name; `whole`: only those that read whole (each checked once).
  std::vector<ImportedGhostHeader> headers(bool whole);
  // The fastest imported ghost of this track and car that reads whole (on equal times the first
  // by file name).
  std::optional<ImportedGhost> fastest(const std::string& track, const std::string& car);

  // How a file is read: its first `limit` bytes, or (`whole`) all of it when it is no longer.
  // Replaced by tests to count the reads.
  std::function<ReadResult(const std::filesystem::path&, size_t limit, bool whole, std::string&)>
      read = [](const std::filesystem::path& file, size_t limit, bool whole, std::string& bytes) {
        std::string error;
        return whole ? ReadWholeFile(file, limit, bytes, error)
                     : ReadFileStart(file, limit, bytes, error);
      };

 private:
  struct Entry {
    ImportedGhostHeader header;
    bool headerRead = false;  // the header is one of a ghost
    bool checked = false;     // read whole and found whole
    bool broken = false;      // read whole and found broken
    int64_t size = -1, changed = -1;
  };
  void refresh();
  // Reads the entry's file whole; nullopt (and the entry marked broken) when it is not whole.
  std::optional<ImportedGhost> readWhole(Entry& entry);

  std::filesystem::path folder_;
  std::map<std::string, Entry> entries_;  // by file name
};

// The imported ghosts of the game.
extern ImportedGhostIndex GameImportedGhosts;
// GameImportedGhosts.fastest(track, car).
std::optional<ImportedGhost> FastestImportedGhost(const std::string& track, const std::string& car);
