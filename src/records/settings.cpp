// The settings store of the game: where the file lives, reading it once, writing it at each
// change, and saying each kind of failure once.
// In records/, the player's own files, GL-free and below the menus and race.
#include "records/settings.h"

#include <sys/stat.h>

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
  std::filesystem::path file = SettingsFile();
  if (loaded_ && file == file_) return;
  loaded_ = true;
  readOnly_ = false;
  file_ = std::move(file);
  text_ = *SettingsText::parse("quillon-settings 1\n");
  if (file_.empty()) return;
  std::string contents, error;
  const ReadResult read = ReadWholeFile(file_, FileLimit, contents, error);
  if (read == ReadResult::Missing) return;
  if (read == ReadResult::Read) {
    if (auto parsed = SettingsText::parse(contents)) {
      text_ = std::move(*parsed);
      if (text_.newer()) {
        readOnly_ = true;
        SayOnce(toldRead_, errors,
                file_.string() + ": written by a newer version; changes are not saved");
      }
      return;
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
}

bool Settings::flag(std::string_view name, bool otherwise) {
  loadIfNeeded();
  return text_.flag(name, otherwise);
}

int Settings::number(std::string_view name, int low, int high, int otherwise) {
  loadIfNeeded();
  const std::optional<std::string> value = text_.get(name);
  if (!value || value->empty() || value->size() > 3) return otherwise;
  int n = 0;
  for (char c : *value) {
    if (c < '0' || c > '9') return otherwise;
    n = n * 10 + (c - '0');
  }
  return n < low || n > high ? otherwise : n;
}

void Settings::setValue(std::string_view name, std::string_view value) {
  loadIfNeeded();
  text_.set(name, value);
  if (readOnly_) return;
  std::string error;
  if (file_.empty()) {
    error = "no folder for settings (neither XDG_CONFIG_HOME nor HOME is set)";
  } else if (MakePrivateFolders(file_.parent_path(), error) &&
             WriteFileAtomically(file_, text_.format(), error, fileCalls)) {
    return;
  }
  SayOnce(toldWrite_, errors, error + "; settings are not saved");
}
