// The ghost store of the game: file names, reading a kept ghost, keeping a faster one, and
// saying each kind of failure once.
// In records/, the player's own files, GL-free and below the menus and race.
#include "records/ghost_store.h"

#include <sys/stat.h>

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iostream>

#include "platform/clock.h"
#include "records/settings.h"
#include "assets/file_name_of.h"

GhostStore GameGhosts;

namespace {

// The folder of the player's files that holds the ghosts folder: the one the lock is taken on.
std::filesystem::path Folder(const std::filesystem::path& ghostFile) {
  return ghostFile.parent_path().parent_path();
}

// The name a ghost of these names was kept under before file names were bounded; empty when it
// is the same name, or one no file system takes.
std::filesystem::path EarlierGhostFile(const std::filesystem::path& file, const std::string& track,
                                       const std::string& car) {
  const std::string name = EscapedFileName(track) + "-" + EscapedFileName(car) + ".ghost";
  if (name.size() > 255 || name == file.filename()) return {};
  return file.parent_path() / name;
}

// The file the kept ghost is read from: its own name, or the earlier one when only that exists.
std::filesystem::path KeptFile(const std::filesystem::path& file, const std::string& track,
                               const std::string& car) {
  const std::filesystem::path earlier = EarlierGhostFile(file, track, car);
  std::error_code ec;
  if (earlier.empty() || std::filesystem::exists(std::filesystem::symlink_status(file, ec)) ||
      !std::filesystem::exists(std::filesystem::symlink_status(earlier, ec)))
    return file;
  return earlier;
}

}  // namespace

std::filesystem::path GhostFile(const std::string& track, const std::string& car) {
  const std::filesystem::path folder = RecordsFolder();
  if (folder.empty()) return {};
  return folder / "ghosts" / FileNameOf({track, car}, ".ghost");
}

std::filesystem::path KeptGhostFile(const std::string& track, const std::string& car) {
  const std::filesystem::path file = GhostFile(track, car);
  return file.empty() ? file : KeptFile(file, track, car);
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
  const std::filesystem::path file = KeptGhostFile(track, car);
  // A race of this run not yet written is the kept ghost when it is the faster.
  const auto waiting = std::find_if(unsaved_.begin(), unsaved_.end(), [&](const Unsaved& ghost) {
    return ghost.track == track && ghost.car == car;
  });
  std::optional<GhostPath> kept = file.empty() ? std::nullopt : loadFile(file);
  if (waiting != unsaved_.end() && (!kept || waiting->path.steps() < kept->steps()))
    return waiting->path;
  return kept;
}

std::optional<GhostPath> GhostStore::loadFile(const std::filesystem::path& file) {
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
  const std::filesystem::path file = KeptGhostFile(track, car);
  std::string bytes, error;
  GhostPath path;
  if (file.empty() || ReadWholeFile(file, GhostFileLimit, bytes, error) != ReadResult::Read ||
      ParseGhost(bytes, path) != GhostRead::Read)
    return {};
  return path;
}

bool GhostStore::keep(const std::string& track, const std::string& car, const GhostPath& path) {
  if (!IsWholeGhost(path)) return false;  // a race of more than ten minutes among them
  // Kept in memory until written: a ghost that cannot be written now goes with the next finish.
  auto waiting = std::find_if(unsaved_.begin(), unsaved_.end(), [&](const Unsaved& ghost) {
    return ghost.track == track && ghost.car == car;
  });
  if (waiting == unsaved_.end()) {
    unsaved_.push_back({track, car, path});
  } else if (path.steps() < waiting->path.steps()) {
    waiting->path = path;  // else a race of this run as fast is already waiting
  }
  bool written = false;
  for (auto ghost = unsaved_.begin(); ghost != unsaved_.end();) {
    const Written result = write(ghost->track, ghost->car, ghost->path);
    if (result == Written::Later) {
      ++ghost;
      continue;
    }
    if (result == Written::Yes && ghost->track == track && ghost->car == car) written = true;
    ghost = unsaved_.erase(ghost);
  }
  return written;
}

GhostStore::Written GhostStore::write(const std::string& track, const std::string& car,
                                      const GhostPath& path) {
  const std::filesystem::path file = GhostFile(track, car);
  if (file.empty()) {
    SayOnce(toldWrite_, errors,
            "no folder for ghosts (neither XDG_DATA_HOME nor HOME is set); the ghost is not saved");
    return Written::Later;
  }
  bool later = false;
  std::filesystem::path earlier;
  std::string error;
  // The kept ghost read and replaced under the lock of the player's files, as the best times
  // are: of two runs finishing together, the faster race stays.
  const WriteResult result = WriteUnderLock(
      file, Folder(file),
      [&](std::string& why) -> std::optional<std::string> {
        const std::filesystem::path kept = KeptFile(file, track, car);
        if (kept != file) earlier = kept;
        GhostPath old;
        switch (read(kept, old, true)) {
          case Kept::Ghost:
            if (old.steps() <= path.steps()) return {};
            break;
          case Kept::Newer:
            return {};
          case Kept::Unreadable:  // said when read; tried again at the next finish
            later = true;
            return {};
          case Kept::InTheWay:
            why = ShownPath(kept) + ": a broken file is in the way";
            return {};
          case Kept::None:
            break;
        }
        const GhostLabel label{ClipGhostName(GameSettings.name()), ClipGhostName(track),
                               ClipGhostName(car)};
        return FormatGhost(path, label);
      },
      fileCalls, error);
  switch (result) {
    case WriteResult::Written:
      // The file under its earlier name is replaced by this one.
      if (!earlier.empty()) ::unlink(earlier.c_str());
      return Written::Yes;
    case WriteResult::NotWanted:
      return later ? Written::Later : Written::No;
    case WriteResult::Failed:
      break;
  }
  SayOnce(toldWrite_, errors, error + "; the ghost is not saved");
  return Written::Later;
}
