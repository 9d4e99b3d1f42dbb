// Whole-file reads, atomic replacement and moving a broken file aside, on POSIX calls.
// In records/, the player's own files (best times now), GL-free and below the menus and race.
#include "records/records_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "records/records_format.h"

namespace {

std::string Reason(const std::filesystem::path& path, const char* what) {
  return path.string() + ": " + what + ": " + std::strerror(errno);
}

// Makes the rename itself durable: the folder's entry is flushed too. Best effort: some file
// systems refuse to sync a folder, and the new file is complete either way.
void SyncFolder(const std::filesystem::path& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

bool WriteFileAtomically(const std::filesystem::path& link, std::string_view contents,
                         std::string& error, const FileCalls& calls) {
  // A player's file that is a link to another place is written there; the link stays.
  std::error_code ec;
  std::filesystem::path path = link;
  if (std::filesystem::is_symlink(link, ec)) {
    path = std::filesystem::weakly_canonical(link, ec);
    if (ec) path = link;
  }
  std::string temp = path.string() + ".tmp-XXXXXX";
  const int fd = calls.makeTemp(temp.data());
  if (fd < 0) {
    error = Reason(path.parent_path(), "cannot create a file");
    return false;
  }
  bool ok = true;
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

ReadResult ReadWholeFile(const std::filesystem::path& path, size_t limit, std::string& contents,
                         std::string& error) {
  contents.clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    if (errno == ENOENT) return ReadResult::Missing;
    error = Reason(path, "cannot open");
    return ReadResult::Failed;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    error = path.string() + ": not a regular file";
    ::close(fd);
    return ReadResult::Failed;
  }
  char buffer[4096];
  for (;;) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      error = Reason(path, "cannot read");
      ::close(fd);
      return ReadResult::Failed;
    }
    if (got == 0) break;
    contents.append(buffer, static_cast<size_t>(got));
    if (contents.size() > limit) {
      error = path.string() + ": longer than " + std::to_string(limit) + " bytes";
      ::close(fd);
      return ReadResult::Failed;
    }
  }
  ::close(fd);
  return ReadResult::Read;
}

std::optional<std::filesystem::path> MoveAside(const std::filesystem::path& path, std::time_t now,
                                               std::string& error) {
  std::string date = FormatRecordDate(now);
  std::replace(date.begin(), date.end(), ':', '-');  // no colons in file names
  const std::string base = path.string() + ".broken-" + date;
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
  error = errno == EEXIST ? path.string() + ": cannot move aside: too many broken copies"
                          : Reason(path, "cannot move aside");
  return {};
}
