// Files of a player's data: read whole, written atomically (a temporary file in the same
// folder, flushed, renamed over the old one) and moved aside when broken. The calls that write
// can be replaced, so tests can fail them the way a full disk or a read-only folder would.
// In records/, the player's own files (best times now), GL-free and below the menus and race.
#pragma once

#include <sys/types.h>
#include <unistd.h>

#include <cstdlib>

#include <ctime>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// The system calls WriteFileAtomically makes; each fails as its POSIX original does (result -1
// with errno set).
struct FileCalls {
  std::function<int(char* pattern)> makeTemp = [](char* pattern) { return ::mkstemp(pattern); };
  std::function<ssize_t(int fd, const void* data, size_t size)> write = ::write;
  std::function<int(int fd)> sync = ::fsync;
  std::function<int(const char* from, const char* to)> rename = ::rename;
};

// Replaces `path` with `contents`: the old file stays whole until the new one is complete on
// disk. On failure the temporary file is removed, `path` is untouched, and `error` says why.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view contents,
                         std::string& error, const FileCalls& calls = {});

enum class ReadResult { Read, Missing, Failed };
// Reads a whole regular file of at most `limit` bytes. Missing: there is no file at `path`.
// Failed: anything else (not a regular file, unreadable, too long); `error` says why.
ReadResult ReadWholeFile(const std::filesystem::path& path, size_t limit, std::string& contents,
                         std::string& error);

// Renames `path` to `<path>.broken-<date>` (with -2, -3, ... when that exists), never replacing
// another file. The new path, or nullopt with `error` set.
std::optional<std::filesystem::path> MoveAside(const std::filesystem::path& path, std::time_t now,
                                               std::string& error);
