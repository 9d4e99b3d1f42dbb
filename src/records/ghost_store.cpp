// The ghost store of the game: file names, reading a kept ghost, keeping a faster one, and
// saying each kind of failure once.
// In records/, the player's own files, GL-free and below the menus and race.
#include "records/ghost_store.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <iostream>

#include "platform/clock.h"
#include "records/best_times.h"

GhostStore GameGhosts;

namespace {

// The longest file a whole ghost can make (five bytes a value at most), with room to spare.
constexpr size_t FileLimit = static_cast<size_t>(GhostMaxSteps) * 6 * 5 + (64 << 10);

std::string SafeName(const std::string& name) {
  static const char hex[] = "0123456789ABCDEF";
  std::string safe;
  for (unsigned char c : name) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_') {
      safe.push_back(static_cast<char>(c));
    } else {
      safe += {'%', hex[c >> 4], hex[c & 15]};
    }
  }
  return safe;
}

// The folder of the player's files that holds the ghosts folder: the one the lock is taken on.
std::filesystem::path Folder(const std::filesystem::path& ghostFile) {
  return ghostFile.parent_path().parent_path();
}

}  // namespace

std::filesystem::path GhostFile(const std::string& track, const std::string& car) {
  const std::filesystem::path bestTimes = BestTimesFile();
  if (bestTimes.empty()) return {};
  return bestTimes.parent_path() / "ghosts" / (SafeName(track) + "-" + SafeName(car) + ".ghost");
}

GhostStore::Kept GhostStore::read(const std::filesystem::path& file, GhostPath& path) {
  std::string bytes, error;
  const ReadResult result = ReadWholeFile(file, FileLimit, bytes, error);
  if (result == ReadResult::Missing) return Kept::None;
  if (result == ReadResult::Read) {
    const GhostRead parsed = ParseGhost(bytes, path);
    if (parsed == GhostRead::Read) return Kept::Ghost;
    if (parsed == GhostRead::Newer) {
      SayOnce(toldRead_, errors, file.string() + ": written by a newer version; left as it is");
      return Kept::Newer;
    }
    error = file.string() + ": not a ghost file";
  }
  std::string moveError;
  if (auto moved = MoveAside(file, platform::CalendarTime(), moveError)) {
    SayOnce(toldRead_, errors, error + "; moved to " + moved->string());
    return Kept::None;
  }
  SayOnce(toldRead_, errors, error + "; " + moveError);
  return Kept::InTheWay;
}

std::optional<GhostPath> GhostStore::load(const std::string& track, const std::string& car) {
  const std::filesystem::path file = GhostFile(track, car);
  if (file.empty()) return {};
  // Under the lock of the player's files (when there are any), so that a file another run is
  // replacing at this moment is never the one moved aside.
  std::error_code ec;
  std::string error;
  std::optional<RecordsLock> lock;
  if (std::filesystem::is_directory(file.parent_path(), ec)) lock.emplace(Folder(file), error);
  GhostPath path;
  if (read(file, path) != Kept::Ghost) return {};
  return path;
}

std::optional<GhostPath> PeekGhost(const std::string& track, const std::string& car) {
  const std::filesystem::path file = GhostFile(track, car);
  std::string bytes, error;
  GhostPath path;
  if (file.empty() || ReadWholeFile(file, FileLimit, bytes, error) != ReadResult::Read ||
      ParseGhost(bytes, path) != GhostRead::Read)
    return {};
  return path;
}

bool GhostStore::keep(const std::string& track, const std::string& car, const GhostPath& path) {
  if (!IsWholeGhost(path)) return false;  // a race of more than ten minutes among them
  const std::filesystem::path file = GhostFile(track, car);
  std::string error;
  if (file.empty()) {
    error = "no folder for ghosts (neither XDG_DATA_HOME nor HOME is set)";
  } else if (!MakePrivateFolders(file.parent_path(), error)) {
    // said below
  } else if (RecordsLock lock(Folder(file), error); lock.held()) {
    // The kept ghost read and replaced under the lock of the player's files, as the best times
    // are: of two runs finishing together, the faster race stays.
    GhostPath kept;
    switch (read(file, kept)) {
      case Kept::Ghost:
        if (kept.steps() <= path.steps()) return false;
        break;
      case Kept::Newer:
        return false;
      case Kept::InTheWay:
        error = file.string() + ": a broken file is in the way";
        break;
      case Kept::None:
        break;
    }
    if (error.empty()) {
      RemoveStaleTemporaries(file);
      if (WriteFileAtomically(file, FormatGhost(path), error, fileCalls)) return true;
    }
  }
  SayOnce(toldWrite_, errors, error + "; the ghost is not saved");
  return false;
}
