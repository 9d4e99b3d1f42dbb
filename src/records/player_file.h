// Reading and writing one of the player's files the one way best times, ghosts and settings
// share: read it whole, check it, move it aside or keep it, and say what happened once; write it
// under the lock of the player's folder.
// In records/, the player's own files, GL-free and below the menus and race.
#pragma once

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "records/records_file.h"

// What a file's bytes are to the store reading them.
enum class FileCheck { Good, Newer, Wrong };

// What became of a read.
enum class FileState {
  Missing,     // no file
  Good,        // read and of the kind wanted
  Newer,       // of a later version: read as far as it goes, never written over
  Unreadable,  // could not be read this time (permissions, an I/O error, too many open files):
               // left where it is, never written over, read again next time
  MovedAside,  // whole but not of the kind wanted (or not a regular file, or too long): moved
  InTheWay,    // such a file that could not be moved (or may not be now): never written over
};

// How a store speaks of its files, in the messages it says once.
struct FileWords {
  std::string_view kind;      // "a settings file"
  std::string_view newer;     // after the file's name: ": written by a newer version; ..."
  std::string_view anew;      // after "moved to <path>": ", settings start anew"
  std::string_view notSaved;  // after a file left in the way: "; settings are not saved"
};

class PlayerFileReader {
 public:
  PlayerFileReader(FileWords words, size_t limit) : words_(words), limit_(limit) {}

  // Reads `file` through `calls.read` and hands its bytes to `check`. A file read whole that
  // `check` calls Wrong (or that is not a regular file, or longer than the limit) is moved aside
  // when `mayMoveAside`; a file that could not be read is left as it is. Each outcome but
  // Missing and Good is said on `errors` (standard error when null): a newer file the first time,
  // every other outcome the first time of any of them.
  FileState read(const std::filesystem::path& file,
                 const std::function<FileCheck(std::string_view)>& check, const FileCalls& calls,
                 std::ostream* errors, bool mayMoveAside = true);

 private:
  FileWords words_;
  size_t limit_;
  bool told_ = false;
  bool toldNewer_ = false;
};

// What a locked write did.
enum class WriteResult {
  Written,    // the file holds the new contents
  NotWanted,  // there was nothing to write
  Failed,     // not written: `error` says why
};

// The one write of the player's files: makes the folder of `file`, takes the lock of
// `lockFolder` (the folder of the player's files), lets `contents` read what is there now and
// give what to write (nullopt: nothing, a failure when it sets its `error`), removes the
// temporaries a killed write left beside the file and replaces it atomically.
WriteResult WriteUnderLock(
    const std::filesystem::path& file, const std::filesystem::path& lockFolder,
    const std::function<std::optional<std::string>(std::string& error)>& contents,
    const FileCalls& calls, std::string& error);
