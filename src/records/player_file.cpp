// The one read -> check -> move aside or keep -> say once sequence of the player's files.
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
          SayOnce(toldNewer_, errors, file.string() + std::string(words_.newer));
          return FileState::Newer;
        case FileCheck::Wrong:
          break;
      }
      error = file.string() + ": not " + std::string(words_.kind);
      break;
    case ReadResult::Failed:
      break;  // not a regular file, or too long: never one of this game's files
  }
  if (!mayMoveAside) return FileState::InTheWay;
  std::string moveError;
  if (auto moved = MoveAside(file, platform::CalendarTime(), moveError)) {
    SayOnce(told_, errors, error + "; moved to " + moved->string() + std::string(words_.anew));
    return FileState::MovedAside;
  }
  SayOnce(told_, errors, error + "; " + moveError + std::string(words_.notSaved));
  return FileState::InTheWay;
}
