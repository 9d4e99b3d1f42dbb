// Exporting the player's best ghost, checking and keeping other players' ghosts, and finding the
// fastest of them.
// In records/, the player's own files, GL-free and below the menus and race.
#include "records/ghost_share.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "records/ghost_store.h"
#include "records/records_file.h"
#include "records/settings.h"
#include "track/track_key.h"

std::filesystem::path ImportedGhostFolder() {
  const std::filesystem::path folder = RecordsFolder();
  return folder.empty() ? folder : folder / "ghosts" / "imported";
}

bool ExportGhost(const std::string& track, const std::string& car,
                 const std::filesystem::path& target, std::string& error) {
  const std::filesystem::path file = GhostFile(track, car);
  std::string bytes;
  GhostPath path;
  GhostLabel label;
  const ReadResult read =
      file.empty() ? ReadResult::Missing : ReadWholeFile(file, GhostFileLimit, bytes, error);
  if (read == ReadResult::Missing) {
    error = "no ghost of " + track + " with " + car;
    return false;
  }
  if (read != ReadResult::Read) return false;
  if (ParseGhost(bytes, path, &label) != GhostRead::Read) {
    error = file.string() + ": not a ghost file this version reads";
    return false;
  }
  if (label.player.empty()) label.player = ClipGhostName(GameSettings.name());
  label.track = TrackKey(track);
  label.car = car;
  const std::string out = FormatGhost(path, label);
  if (out.empty()) {
    error = "a name of the ghost is longer than " + std::to_string(GhostMaxName) + " bytes";
    return false;
  }
  return WriteFileAtomically(target, out, error);
}

namespace {

// The file an imported ghost is kept in: "<track>-<car>-<player>.ghost"; names that would make
// too long a file name are cut, with a hash of the whole kept to tell them apart.
std::string ImportedFileName(const GhostLabel& label) {
  const std::string name =
      SafeFileName(label.track) + "-" + SafeFileName(label.car) + "-" + SafeFileName(label.player);
  constexpr size_t Longest = 200;
  if (name.size() <= Longest) return name + ".ghost";
  uint32_t hash = 2166136261u;
  for (unsigned char c : name) hash = (hash ^ c) * 16777619u;
  char tail[16];
  std::snprintf(tail, sizeof tail, "-%08X", static_cast<unsigned>(hash));
  return name.substr(0, Longest) + tail + ".ghost";
}

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
    return "made for another track (\"" + label.track + "\", not a track of this game)";
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
  if (!MakePrivateFolders(folder, reason)) return false;
  RecordsLock lock(RecordsFolder(), reason);
  if (!lock.held()) return false;
  ghost.file = folder / ImportedFileName(ghost.label);
  RemoveStaleTemporaries(ghost.file);
  if (!WriteFileAtomically(ghost.file, bytes, reason)) return false;
  if (imported != nullptr) *imported = std::move(ghost);
  return true;
}

std::vector<ImportedGhost> ImportedGhosts() {
  std::vector<ImportedGhost> ghosts;
  const std::filesystem::path folder = ImportedGhostFolder();
  std::error_code ec;
  if (folder.empty() || !std::filesystem::is_directory(folder, ec)) return ghosts;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    if (entry.path().extension() != ".ghost") continue;
    ImportedGhost ghost;
    ghost.file = entry.path();
    std::string bytes, error;
    if (ReadWholeFile(ghost.file, GhostFileLimit, bytes, error) == ReadResult::Read &&
        ParseGhost(bytes, ghost.path, &ghost.label) == GhostRead::Read)
      ghosts.push_back(std::move(ghost));
  }
  std::sort(ghosts.begin(), ghosts.end(),
            [](const ImportedGhost& a, const ImportedGhost& b) { return a.file < b.file; });
  return ghosts;
}

std::optional<ImportedGhost> FastestImportedGhost(const std::string& track,
                                                  const std::string& car) {
  std::optional<ImportedGhost> fastest;
  const std::string key = TrackKey(track);
  for (ImportedGhost& ghost : ImportedGhosts()) {
    if (ghost.label.track != key || ghost.label.car != car) continue;
    if (!fastest || ghost.path.steps() < fastest->path.steps()) fastest = std::move(ghost);
  }
  return fastest;
}
