// The settings store of the game: where the file lives, reading it once, writing it at each
// change, and saying each kind of failure once.
// In records/, the player's own files, GL-free and below the menus and race.
#include "records/settings.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iostream>

Settings GameSettings;

std::filesystem::path SettingsFile() {
  const std::filesystem::path home = XdgFolder("XDG_CONFIG_HOME", ".config");
  if (home.empty()) return {};
  return home / "quillon" / "settings.txt";
}

void Settings::loadIfNeeded() {
  std::filesystem::path file = SettingsFile();
  if (loaded_ && file == file_) return;
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

void Settings::setFlag(std::string_view name, bool on) {
  loadIfNeeded();
  text_.set(name, on ? "on" : "off");
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
