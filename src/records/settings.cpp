// The settings store of the game: where the file lives, reading it once, writing it at each
// change, and saying each kind of failure once.
// In records/, the player's own files, GL-free and below the menus and race.
#include "records/settings.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "assets/terminal_text.h"
#include "assets/player_folders.h"

Settings GameSettings;

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
  file_ = std::move(file);
  text_ = *SettingsText::parse("quillon-settings 1\n");
  std::optional<SettingsText> parsed;
  const FileState state = file_.empty()
                              ? FileState::Missing
                              : reader_.read(
                                    file_,
                                    [&parsed](std::string_view contents) {
                                      parsed = SettingsText::parse(contents);
                                      if (!parsed) return FileCheck::Wrong;
                                      return parsed->newer() ? FileCheck::Newer : FileCheck::Good;
                                    },
                                    fileCalls, errors);
  if (state == FileState::Good || state == FileState::Newer) text_ = std::move(*parsed);
  readOnly_ =
      state != FileState::Missing && state != FileState::Good && state != FileState::MovedAside;
  // This run's changes not yet written stay laid over what the file says.
  for (const auto& [name, value] : unsaved_) text_.set(name, value);
}

std::string Settings::name() {
  loadIfNeeded();
  if (auto set = text_.get("name"); set && !set->empty()) return *set;
  if (const passwd* account = ::getpwuid(::geteuid()); account && account->pw_name[0] != '\0')
    return account->pw_name;
  for (const char* variable : {"LOGNAME", "USER"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && value[0] != '\0') return value;
  }
  return "player";
}

bool Settings::flag(std::string_view name, bool otherwise) {
  loadIfNeeded();
  return text_.flag(name, otherwise);
}

std::optional<std::string> Settings::value(std::string_view name) {
  loadIfNeeded();
  return text_.get(name);
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
  // Kept for this run whatever becomes of the file, until a write carries it.
  auto kept = std::find_if(unsaved_.begin(), unsaved_.end(),
                           [&](const auto& entry) { return entry.first == name; });
  if (kept == unsaved_.end()) {
    unsaved_.emplace_back(std::string(name), std::string(value));
  } else {
    kept->second = std::string(value);
  }
  const std::filesystem::path file = file_;
  std::string error = "no folder for settings (neither XDG_CONFIG_HOME nor HOME is set)";
  bool tooLong = false;
  // Read again and written under the lock, so that a line changed by hand or by another game
  // since the last read is kept, and two games changing settings at once take turns.
  const auto contents = [&](std::string&) -> std::optional<std::string> {
    readFile();
    if (readOnly_) return {};  // said when read
    std::string text = text_.format();
    // Never a file the next start would refuse to read.
    tooLong = text.size() > SettingsFileLimit;
    if (tooLong) return {};
    return text;
  };
  const WriteResult written =
      file.empty() ? WriteResult::Failed
                   : WriteUnderLock(file, file.parent_path(), contents, fileCalls, error);
  if (written == WriteResult::Written) {
    unsaved_.clear();
  } else if (tooLong) {
    std::erase_if(unsaved_, [&](const auto& entry) { return entry.first == name; });
    readFile();
    SayOnce(toldLong_, errors,
            ShownPath(file) + ": a change of " + TerminalText(name) +
                " would make it longer than " + std::to_string(SettingsFileLimit) +
                " bytes; the change is refused");
  } else if (written == WriteResult::Failed) {
    text_.set(name, value);
    SayOnce(toldWrite_, errors, error + "; settings are not saved");
  }
}
