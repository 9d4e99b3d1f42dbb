// Whole-file reads, atomic replacement and moving a broken file aside, on POSIX calls.
// In records/, the player's own files, GL-free and below the menus and race.
#include "records/records_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <iostream>

#include "assets/terminal_text.h"
#include "platform/regular_file.h"
#include "assets/player_folders.h"

namespace {

// What mkstemp turns into a name of the file's own beside it.
constexpr const char* TemporarySuffix = ".tmp-XXXXXX";

std::string Reason(const std::filesystem::path& path, const char* what) {
  return ShownPath(path) + ": " + what + ": " + std::strerror(errno);
}

// Makes the rename itself durable: the folder's entry is flushed too. Best effort: some file
// systems refuse to sync a folder, and the new file is complete either way.
void SyncFolder(const std::filesystem::path& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// The moment a file was moved aside, for its new name: YYYY-MM-DDTHH-MM-SSZ in UTC (no colons
// in file names).
std::string AsideDate(std::time_t now) {
  std::tm parts{};
  if (gmtime_r(&now, &parts) == nullptr) return "0000-00-00T00-00-00Z";
  char text[64];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H-%M-%SZ", &parts);
  return text;
}

}  // namespace

std::string ShownPath(const std::filesystem::path& path) {
  return TerminalText(path.native());
}

std::filesystem::path WrittenPath(const std::filesystem::path& link) {
  std::filesystem::path path = link;
  for (int depth = 0; depth < 40; ++depth) {
    std::error_code ec;
    const std::filesystem::path target = std::filesystem::read_symlink(path, ec);
    if (ec) break;
    path = target.is_absolute() ? target : path.parent_path() / target;
  }
  return path.lexically_normal();
}

bool WriteFileAtomically(const std::filesystem::path& link, std::string_view contents,
                         std::string& error, const FileCalls& calls) {
  const std::filesystem::path path = WrittenPath(link);
  std::string temp = path.string() + TemporarySuffix;
  const int fd = calls.makeTemp(temp.data());
  if (fd < 0) {
    error = Reason(path.parent_path(), "cannot create a file");
    return false;
  }
  // The new file keeps the permissions of the one it replaces (a new one is the player's own).
  bool ok = true;
  struct stat old {};
  if (::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode) &&
      ::fchmod(fd, old.st_mode & 07777) != 0) {
    error = Reason(temp, "cannot set its permissions");
    ok = false;
  }
  for (size_t done = 0; ok && done < contents.size();) {
    const ssize_t written = calls.write(fd, contents.data() + done, contents.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      if (written == 0) errno = ENOSPC;
      error = Reason(temp, "cannot write");
      ok = false;
    } else {
      done += static_cast<size_t>(written);
    }
  }
  if (ok && calls.sync(fd) != 0) {
    error = Reason(temp, "cannot flush");
    ok = false;
  }
  if (::close(fd) != 0 && ok) {
    error = Reason(temp, "cannot close");
    ok = false;
  }
  if (ok && calls.rename(temp.c_str(), path.c_str()) != 0) {
    error = Reason(path, "cannot replace");
    ok = false;
  }
  if (!ok) {
    ::unlink(temp.c_str());
    return false;
  }
  SyncFolder(path.parent_path());
  return true;
}

namespace {

ReadResult ReadFile(const std::filesystem::path& path, size_t limit, bool whole,
                    std::string& contents, std::string& error) {
  contents.clear();
  platform::RegularFile file(path.c_str());
  switch (file.status()) {
    case platform::RegularFile::Status::Opened:
      break;
    case platform::RegularFile::Status::Missing:
      return ReadResult::Missing;
    case platform::RegularFile::Status::NotRegular:
      error = ShownPath(path) + ": not a regular file";
      return ReadResult::Failed;
    case platform::RegularFile::Status::Failed:
      errno = file.errorNumber();
      error = Reason(path, "cannot open");
      return ReadResult::Unreadable;
  }
  if (whole && file.size() > limit) {
    error = ShownPath(path) + ": longer than " + std::to_string(limit) + " bytes";
    return ReadResult::Failed;
  }
  if (!file.readUpTo(contents, limit)) {
    errno = file.errorNumber();
    error = Reason(path, "cannot read");
    contents.clear();
    return ReadResult::Unreadable;
  }
  return ReadResult::Read;
}

}  // namespace

ReadResult ReadWholeFile(const std::filesystem::path& path, size_t limit, std::string& contents,
                         std::string& error) {
  return ReadFile(path, limit, true, contents, error);
}

ReadResult ReadFileStart(const std::filesystem::path& path, size_t limit, std::string& contents,
                         std::string& error) {
  return ReadFile(path, limit, false, contents, error);
}

void RemoveStaleTemporaries(const std::filesystem::path& file) {
  const std::filesystem::path path = WrittenPath(file);
  const std::string prefix = path.filename().string() + ".tmp-";
  std::error_code ec, removing;
  for (std::filesystem::directory_iterator it(path.parent_path(), ec), end; !ec && it != end;
       it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.size() == prefix.size() + 6 && name.starts_with(prefix) &&
        it->is_regular_file(removing) && !it->is_symlink(removing)) {
      std::filesystem::remove(it->path(), removing);
    }
  }
}

RecordsLock::RecordsLock(const std::filesystem::path& folder, std::string& error, Wait wait) {
  fd_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd_ < 0) {
    error = Reason(folder, "cannot lock");
    return;
  }
  // Another game finishing at the same moment holds it for a few milliseconds; one that holds it
  // far longer (stopped) is waited for only so long, and the race is kept for the next write.
  for (int tries = 0; tries < (wait == NoWait ? 1 : 1000); ++tries) {
    if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
      held_ = true;
      return;
    }
    if (errno != EWOULDBLOCK && errno != EINTR) break;
    ::usleep(5000);
  }
  error = errno == EWOULDBLOCK ? ShownPath(folder) + ": held by another run of the game"
                               : Reason(folder, "cannot lock");
  ::close(fd_);
  fd_ = -1;
}

RecordsLock::~RecordsLock() {
  if (fd_ >= 0) ::close(fd_);  // closing the folder releases the lock
}

std::optional<std::filesystem::path> MoveAside(const std::filesystem::path& path, std::time_t now,
                                               std::string& error) {
  const std::string base = path.string() + ".broken-" + AsideDate(now);
  for (int n = 1; n < 1000; ++n) {
    const std::string target = n == 1 ? base : base + "-" + std::to_string(n);
    if (::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0)
      return target;
    if (errno == EEXIST) continue;
    if (errno != EINVAL && errno != ENOSYS) break;
    // A file system without the no-replace rename: look first, then rename.
    struct stat info {};
    if (::lstat(target.c_str(), &info) == 0) continue;
    if (::rename(path.c_str(), target.c_str()) == 0) return target;
    break;
  }
  error = errno == EEXIST ? ShownPath(path) + ": cannot move aside: too many broken copies"
                          : Reason(path, "cannot move aside");
  return {};
}

std::filesystem::path RecordsFolder() {
  return PlayerDataFolder();
}

bool MakePrivateFolders(const std::filesystem::path& folder, std::string& error) {
  if (folder.empty()) return true;
  // Never the throwing forms: a loop of links, a file in the way or a folder that may not be
  // looked into is a folder that cannot be had, said, and the game goes on.
  std::error_code ec;
  const std::filesystem::file_status status = std::filesystem::status(folder, ec);
  if (std::filesystem::is_directory(status)) return true;
  if (status.type() != std::filesystem::file_type::not_found) {
    error = ShownPath(folder) +
            ": cannot use the folder: " + (ec ? ec.message() : std::string("not a folder"));
    return false;
  }
  if (folder.has_parent_path() && folder.parent_path() != folder &&
      !MakePrivateFolders(folder.parent_path(), error))
    return false;
  if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
    error = ShownPath(folder) + ": cannot create the folder: " + std::strerror(errno);
    return false;
  }
  return true;
}

void SayOnce(bool& told, std::ostream* out, const std::string& text) {
  if (told) return;
  told = true;
  (out != nullptr ? *out : std::cerr) << "quillon: " << text << std::endl;
}
