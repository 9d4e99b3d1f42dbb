// The one read -> check -> move aside or keep -> say once sequence of the player's files, and
// their one locked write.
// In records/, the player's own files, GL-free and below the menus and race.
#include "records/player_file.h"

#include "platform/clock.h"

FileState PlayerFileReader::read(const std::filesystem::path& file,
                                 const std::function<FileCheck(std::string_view)>& check,
                                 const FileCalls& calls, std::ostream* errors, bool mayMoveAside) {
  std::string bytes, error;
  switch (calls.read(file, limit_, bytes, error)) {
    case ReadResult::Missing:
      return FileState::Missing;
    case ReadResult::Unreadable:
      // Perhaps only for a moment: what it holds is unknown, so it is neither moved nor replaced.
      SayOnce(told_, errors,
              error + "; left where it is" + std::string(words_.notSaved) + " this time");
      return FileState::Unreadable;
    case ReadResult::Read:
      switch (check(bytes)) {
        case FileCheck::Good:
          return FileState::Good;
        case FileCheck::Newer:
          SayOnce(toldNewer_, errors, ShownPath(file) + std::string(words_.newer));
          return FileState::Newer;
        case FileCheck::Wrong:
          break;
      }
      error = ShownPath(file) + ": not " + std::string(words_.kind);
      break;
    case ReadResult::Failed:
      break;  // not a regular file, or too long: never one of this game's files
  }
  if (!mayMoveAside) return FileState::InTheWay;
  std::string moveError;
  if (auto moved = MoveAside(file, platform::CalendarTime(), moveError)) {
    SayOnce(told_, errors, error + "; moved to " + ShownPath(*moved) + std::string(words_.anew));
    return FileState::MovedAside;
  }
  SayOnce(told_, errors, error + "; " + moveError + std::string(words_.notSaved));
  return FileState::InTheWay;
}

WriteResult WriteUnderLock(
    const std::filesystem::path& file, const std::filesystem::path& lockFolder,
    const std::function<std::optional<std::string>(std::string& error)>& contents,
    const FileCalls& calls, std::string& error) {
  if (!MakePrivateFolders(file.parent_path(), error)) return WriteResult::Failed;
  RecordsLock lock(lockFolder, error);
  if (!lock.held()) return WriteResult::Failed;
  error.clear();
  const std::optional<std::string> text = contents(error);
  if (!text) return error.empty() ? WriteResult::NotWanted : WriteResult::Failed;
  RemoveStaleTemporaries(file);
  return WriteFileAtomically(file, *text, error, calls) ? WriteResult::Written
                                                        : WriteResult::Failed;
}
