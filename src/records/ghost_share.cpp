// Exporting the player's best ghost, checking and keeping other players' ghosts, and finding the
// fastest of them.
// In records/, the player's own files, GL-free and below the menus and race.
#include "records/ghost_share.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdint>

#include "assets/terminal_text.h"
#include "records/ghost_store.h"
#include "records/player_file.h"
#include "records/records_file.h"
#include "records/settings.h"
#include "assets/file_name_of.h"

ImportedGhostIndex GameImportedGhosts;

std::filesystem::path ImportedGhostFolder() {
  const std::filesystem::path folder = RecordsFolder();
  return folder.empty() ? folder : folder / "ghosts" / "imported";
}

namespace {

// What a file that is not a regular one is, for a refusal.
std::string KindOfFile(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISFIFO(mode)) return "a FIFO";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
  if (S_ISSOCK(mode)) return "a socket";
  return "not a file";
}

}  // namespace

bool ExportGhost(const std::string& track, const std::string& car,
                 const std::filesystem::path& target, std::string& error) {
  const std::filesystem::path file = KeptGhostFile(track, car);
  std::string bytes;
  GhostPath path;
  GhostLabel label;
  const ReadResult read =
      file.empty() ? ReadResult::Missing : ReadWholeFile(file, GhostFileLimit, bytes, error);
  if (read == ReadResult::Missing) {
    error = "no ghost of " + TerminalText(track) + " with " + TerminalText(car);
    return false;
  }
  if (read != ReadResult::Read) return false;
  if (ParseGhost(bytes, path, &label) != GhostRead::Read) {
    error = ShownPath(file) + ": not a ghost file this version reads";
    return false;
  }
  if (label.player.empty()) label.player = ClipGhostName(GameSettings.name());
  label.track = track;
  label.car = car;
  const std::string out = FormatGhost(path, label);
  if (out.empty()) {
    error = "a name of the ghost is longer than " + std::to_string(GhostMaxName) + " bytes";
    return false;
  }
  // Only a file is replaced: a FIFO, device or socket at the target is refused, never swapped for
  // a file (a link is followed, as the write follows it).
  if (struct stat there{}; ::stat(target.c_str(), &there) == 0 && !S_ISREG(there.st_mode)) {
    error = ShownPath(target) + ": not a regular file (" + KindOfFile(there.st_mode) +
            "); nothing is written";
    return false;
  }
  return WriteFileAtomically(target, out, error);
}

namespace {

// Why the bytes of a file offered for import are refused; empty when they are taken.
std::string Refusal(std::string_view bytes, const std::vector<std::string>& trackKeys,
                    GhostPath& path, GhostLabel& label) {
  switch (ParseGhost(bytes, path, &label)) {
    case GhostRead::Newer:
      return "made by a newer version of the game (ghost file version " +
             std::to_string(GhostVersion(bytes)) + ")";
    case GhostRead::Broken:
      return "not a whole ghost file (cut short, damaged or not a ghost at all)";
    case GhostRead::Read:
      break;
  }
  if (GhostVersion(bytes) < 2)
    return "a ghost file of version 1 names no track; export it again with this version";
  // The one check of the track: its key holds whatever tells two tracks apart.
  if (std::find(trackKeys.begin(), trackKeys.end(), label.track) == trackKeys.end())
    return "made for another track (\"" + TerminalText(label.track) +
           "\", not a track of this game)";
  if (label.car.empty()) return "names no car";
  return {};
}

}  // namespace

bool ImportGhost(const std::filesystem::path& source, const std::vector<std::string>& trackKeys,
                 std::string& reason, ImportedGhost* imported) {
  std::string bytes;
  ImportedGhost ghost;
  switch (ReadWholeFile(source, GhostFileLimit, bytes, reason)) {
    case ReadResult::Read:
      break;
    case ReadResult::Missing:
      reason = "no such file";
      return false;
    case ReadResult::Failed:
    case ReadResult::Unreadable:
      return false;
  }
  reason = Refusal(bytes, trackKeys, ghost.path, ghost.label);
  if (!reason.empty()) return false;

  const std::filesystem::path folder = ImportedGhostFolder();
  if (folder.empty()) {
    reason = "no folder for ghosts (neither XDG_DATA_HOME nor HOME is set)";
    return false;
  }
  ghost.file =
      folder / FileNameOf({ghost.label.track, ghost.label.car, ghost.label.player}, ".ghost");
  if (WriteUnderLock(
          ghost.file, RecordsFolder(), [&](std::string&) { return std::optional(bytes); }, {},
          reason) != WriteResult::Written)
    return false;
  if (imported != nullptr) *imported = std::move(ghost);
  return true;
}

void ImportedGhostIndex::refresh() {
  const std::filesystem::path folder = ImportedGhostFolder();
  if (folder != folder_) entries_.clear();
  folder_ = folder;
  std::map<std::string, Entry> found;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(folder, ec), end; !folder.empty() && !ec && it != end;
       it.increment(ec)) {
    if (it->path().extension() != ".ghost") continue;
    struct stat info {};
    if (::stat(it->path().c_str(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
    const std::string name = it->path().filename().string();
    const int64_t changed =
        static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    // A file unchanged since its header was read is not read again.
    auto known = entries_.find(name);
    if (known != entries_.end() && known->second.size == info.st_size &&
        known->second.changed == changed) {
      found.emplace(name, std::move(known->second));
      continue;
    }
    Entry entry;
    entry.size = info.st_size;
    entry.changed = changed;
    entry.header.file = it->path();
    std::string bytes;
    entry.headerRead =
        read(entry.header.file, GhostHeaderLimit, false, bytes) == ReadResult::Read &&
        ParseGhostHeader(bytes, entry.header.label, entry.header.steps);
    found.emplace(name, std::move(entry));
  }
  entries_ = std::move(found);
}

std::optional<ImportedGhost> ImportedGhostIndex::readWhole(Entry& entry) {
  ImportedGhost ghost;
  ghost.file = entry.header.file;
  std::string bytes;
  entry.checked = read(ghost.file, GhostFileLimit, true, bytes) == ReadResult::Read &&
                  ParseGhost(bytes, ghost.path, &ghost.label) == GhostRead::Read &&
                  ghost.label == entry.header.label;
  entry.broken = !entry.checked;
  if (entry.broken) return {};
  return ghost;
}

std::vector<ImportedGhostHeader> ImportedGhostIndex::headers(bool whole) {
  refresh();
  std::vector<ImportedGhostHeader> list;
  for (auto& [name, entry] : entries_) {
    if (!entry.headerRead || entry.broken) continue;
    if (whole && !entry.checked && !readWhole(entry)) continue;
    list.push_back(entry.header);
  }
  return list;
}

std::optional<ImportedGhost> ImportedGhostIndex::fastest(const std::string& track,
                                                         const std::string& car) {
  refresh();
  const std::string& key = track;
  std::vector<Entry*> candidates;
  for (auto& [name, entry] : entries_) {
    if (entry.headerRead && !entry.broken && entry.header.label.track == key &&
        entry.header.label.car == car)
      candidates.push_back(&entry);
  }
  // By time, then by file name (the map's order, kept by the stable sort).
  std::stable_sort(candidates.begin(), candidates.end(), [](const Entry* a, const Entry* b) {
    return a->header.steps < b->header.steps;
  });
  for (Entry* entry : candidates) {
    if (auto ghost = readWhole(*entry)) return ghost;
  }
  return {};
}

std::optional<ImportedGhost> FastestImportedGhost(const std::string& track,
                                                  const std::string& car) {
  return GameImportedGhosts.fastest(track, car);
}
