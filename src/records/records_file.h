// Files of a player's data: read whole, written atomically (a temporary file in the same
// folder, flushed, renamed over the old one) and moved aside when broken. The calls that write
// can be replaced, so tests can fail them the way a full disk or a read-only folder would.
// In records/, the player's own files, GL-free and below the menus and race.
#pragma once

#include <sys/types.h>
#include <unistd.h>

#include <cstdlib>

#include <ctime>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

enum class ReadResult { Read, Missing, Failed, Unreadable };
// Reads a whole regular file of at most `limit` bytes, through the game's one opener (opening
// never blocks; a longer file is refused before it is read). Missing: there is no file at
// `path`. Failed: not a regular file, or too long. Unreadable: it could not be opened or read
// (permissions, an I/O error, too many open files), which may pass. `error` says why.
ReadResult ReadWholeFile(const std::filesystem::path& path, size_t limit, std::string& contents,
                         std::string& error);

// Reads the first `limit` bytes of a regular file (all of a shorter one), through the same
// opener, with the same results (never Failed for a longer file).
ReadResult ReadFileStart(const std::filesystem::path& path, size_t limit, std::string& contents,
                         std::string& error);

// The calls the stores make to read and write their files: the writing ones fail as their POSIX
// originals do (result -1 with errno set), the reading one as ReadWholeFile does.
struct FileCalls {
  std::function<int(char* pattern)> makeTemp = [](char* pattern) { return ::mkstemp(pattern); };
  std::function<ssize_t(int fd, const void* data, size_t size)> write = ::write;
  std::function<int(int fd)> sync = ::fsync;
  std::function<int(const char* from, const char* to)> rename = ::rename;
  std::function<ReadResult(const std::filesystem::path&, size_t, std::string&, std::string&)> read =
      ReadWholeFile;
};

// Replaces `path` with `contents`: the old file stays whole until the new one is complete on
// disk. On failure the temporary file is removed, `path` is untouched, and `error` says why.
// A link (even one whose target is missing) is followed and stays: its target is written. The
// new file keeps the permission bits of the one it replaces; a new file is the player's own
// (0600).
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view contents,
                         std::string& error, const FileCalls& calls = {});

// Renames `path` to `<path>.broken-<date>` (with -2, -3, ... when that exists), never replacing
// another file. The new path, or nullopt with `error` set.
std::optional<std::filesystem::path> MoveAside(const std::filesystem::path& path, std::time_t now,
                                               std::string& error);

// Removes the temporary files that writes of `file` (followed as WriteFileAtomically follows it)
// killed half-way left beside it. Call it holding the folder's RecordsLock, so that no write of
// another run is under way.
void RemoveStaleTemporaries(const std::filesystem::path& file);

// An exclusive lock on the folder of the player's files for as long as it lives (flock on the
// folder itself, so that no lock file is left behind): held around each read, change and write,
// runs of the game finishing at the same moment take turns. Waits up to about five seconds for
// another run (not at all with NoWait); `held()` is false (and `error` says why) when it could
// not be had.
class RecordsLock {
 public:
  enum Wait { Waits, NoWait };
  RecordsLock(const std::filesystem::path& folder, std::string& error, Wait wait = Waits);
  ~RecordsLock();
  RecordsLock(const RecordsLock&) = delete;
  RecordsLock& operator=(const RecordsLock&) = delete;
  bool held() const { return held_; }

 private:
  int fd_ = -1;
  bool held_ = false;
};

// The folder of the player's data (best times, ghosts): PlayerDataFolder().
std::filesystem::path RecordsFolder();
// Creates `folder` and its parents; the folders it makes itself are private to the player (0700,
// as XDG asks). False with `error` set, naming the folder, when `folder` cannot be had (a file
// or a loop of links in the way, no permission): never throws.
bool MakePrivateFolders(const std::filesystem::path& folder, std::string& error);
// A path in a message, as the terminal should show it (see TerminalText).
std::string ShownPath(const std::filesystem::path& path);
// Says "quillon: `text`" on `out` (standard error when null), once: `told` remembers it.
void SayOnce(bool& told, std::ostream* out, const std::string& text);
