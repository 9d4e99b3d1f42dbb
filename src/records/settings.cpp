// The settings store of the game: where the file lives, reading it once, writing it at each
// change, and saying each kind of failure once.
// In records/, the player's own files, GL-free and below the menus and race.
#include "records/settings.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "platform/clock.h"

Settings GameSettings;

namespace {

// A settings file this game wrote is a few lines; anything larger is not one.
constexpr size_t FileLimit = 64 << 10;

}  // namespace

std::filesystem::path SettingsFile() {
  const std::filesystem::path home = XdgFolder("XDG_CONFIG_HOME", ".config");
  if (home.empty()) return {};
  return home / "quillon" / "settings.txt";
}

void Settings::loadIfNeeded() {
  if (loaded_ && SettingsFile() == file_) return;
  readFile();
}

void Settings::readFile() {
  std::filesystem::path file = SettingsFile();
  if (file != file_) unsaved_.clear();  // changes meant for another file
  loaded_ = true;
  readOnly_ = false;
  file_ = std::move(file);
  text_ = *SettingsText::parse("quillon-settings 1\n");
  const auto keepUnsaved = [this] {
    for (const auto& [name, value] : unsaved_) text_.set(name, value);
  };
  if (file_.empty()) return;
  std::string contents, error;
  const ReadResult read = ReadWholeFile(file_, FileLimit, contents, error);
  if (read == ReadResult::Missing) return keepUnsaved();
  if (read == ReadResult::Read) {
    if (auto parsed = SettingsText::parse(contents)) {
      text_ = std::move(*parsed);
      if (text_.newer()) {
        readOnly_ = true;
        SayOnce(toldRead_, errors,
                file_.string() + ": written by a newer version; changes are not saved");
      }
      return keepUnsaved();
    }
    error = file_.string() + ": not a settings file";
  }
  std::string moveError;
  if (auto moved = MoveAside(file_, platform::CalendarTime(), moveError)) {
    SayOnce(toldRead_, errors, error + "; moved to " + moved->string() + ", settings start anew");
  } else {
    readOnly_ = true;
    SayOnce(toldRead_, errors, error + "; " + moveError + "; settings are not saved");
  }
  keepUnsaved();
}

bool Settings::flag(std::string_view name, bool otherwise) {
  loadIfNeeded();
  return text_.flag(name, otherwise);
}

std::optional<std::string> Settings::value(std::string_view name) {
  loadIfNeeded();
  return text_.get(name);
}

void Settings::setValue(std::string_view name, std::string_view value) {
  loadIfNeeded();
  // Kept for this run whatever becomes of the file, until a write carries it.
  auto kept = std::find_if(unsaved_.begin(), unsaved_.end(),
                           [&](const auto& entry) { return entry.first == name; });
  if (kept == unsaved_.end()) {
    unsaved_.emplace_back(std::string(name), std::string(value));
  } else {
    kept->second = std::string(value);
  }
  const std::filesystem::path file = file_;
  std::string error;
  if (file.empty()) {
    error = "no folder for settings (neither XDG_CONFIG_HOME nor HOME is set)";
  } else if (MakePrivateFolders(file.parent_path(), error)) {
    // Read again and written under the lock, so that a line changed by hand or by another game
    // since the last read is kept, and two games changing settings at once take turns.
    RecordsLock lock(file.parent_path(), error);
    if (lock.held()) {
      readFile();
      if (readOnly_) return;
      if (WriteFileAtomically(file_, text_.format(), error, fileCalls)) {
        unsaved_.clear();
        return;
      }
    }
  }
  text_.set(name, value);
  SayOnce(toldWrite_, errors, error + "; settings are not saved");
}
