// The ghost store of the game: file names, reading a kept ghost, keeping a faster one, and
// saying each kind of failure once.
// In records/, the player's own files, GL-free and below the menus and race.
#include "records/ghost_store.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <iostream>

#include "platform/clock.h"
#include "records/settings.h"
#include "track/track_key.h"

GhostStore GameGhosts;

std::string SafeFileName(const std::string& name) {
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

namespace {

// The folder of the player's files that holds the ghosts folder: the one the lock is taken on.
std::filesystem::path Folder(const std::filesystem::path& ghostFile) {
  return ghostFile.parent_path().parent_path();
}

}  // namespace

std::filesystem::path GhostFile(const std::string& track, const std::string& car) {
  const std::filesystem::path folder = RecordsFolder();
  if (folder.empty()) return {};
  return folder / "ghosts" / (SafeFileName(track) + "-" + SafeFileName(car) + ".ghost");
}

GhostStore::GhostStore()
    : reader_({"a ghost file", ": written by a newer version; left as it is", "", ""},
              GhostFileLimit) {}

GhostStore::Kept GhostStore::read(const std::filesystem::path& file, GhostPath& path,
                                  bool mayMoveAside) {
  const auto check = [&path](std::string_view bytes) {
    switch (ParseGhost(bytes, path)) {
      case GhostRead::Read:
        return FileCheck::Good;
      case GhostRead::Newer:
        return FileCheck::Newer;
      case GhostRead::Broken:
        break;
    }
    return FileCheck::Wrong;
  };
  switch (reader_.read(file, check, fileCalls, errors, mayMoveAside)) {
    case FileState::Good:
      return Kept::Ghost;
    case FileState::Newer:
      return Kept::Newer;
    case FileState::Unreadable:
      return Kept::Unreadable;
    case FileState::InTheWay:
      return Kept::InTheWay;
    case FileState::Missing:
    case FileState::MovedAside:
      break;
  }
  return Kept::None;
}

std::optional<GhostPath> GhostStore::load(const std::string& track, const std::string& car) {
  const std::filesystem::path file = GhostFile(track, car);
  if (file.empty()) return {};
  // A broken file is moved aside only under the lock of the player's files, so that a file
  // another run is replacing at this moment is never the one moved; the lock is never waited
  // for, since a race is about to start.
  std::error_code ec;
  std::string error;
  std::optional<RecordsLock> lock;
  if (std::filesystem::is_directory(file.parent_path(), ec))
    lock.emplace(Folder(file), error, RecordsLock::NoWait);
  GhostPath path;
  if (read(file, path, lock && lock->held()) != Kept::Ghost) return {};
  return path;
}

std::optional<GhostPath> PeekGhost(const std::string& track, const std::string& car) {
  const std::filesystem::path file = GhostFile(track, car);
  std::string bytes, error;
  GhostPath path;
  if (file.empty() || ReadWholeFile(file, GhostFileLimit, bytes, error) != ReadResult::Read ||
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
    switch (read(file, kept, true)) {
      case Kept::Ghost:
        if (kept.steps() <= path.steps()) return false;
        break;
      case Kept::Newer:
      case Kept::Unreadable:  // said when read; tried again at the next finish
        return false;
      case Kept::InTheWay:
        error = file.string() + ": a broken file is in the way";
        break;
      case Kept::None:
        break;
    }
    if (error.empty()) {
      RemoveStaleTemporaries(file);
      const GhostLabel label{ClipGhostName(GameSettings.name()), ClipGhostName(TrackKey(track)),
                             ClipGhostName(car)};
      if (WriteFileAtomically(file, FormatGhost(path, label), error, fileCalls)) return true;
    }
  }
  SayOnce(toldWrite_, errors, error + "; the ghost is not saved");
  return false;
}
