// The player's settings: kept in $XDG_CONFIG_HOME/quillon/settings.txt (by default
// ~/.config/quillon/), read on first use and written atomically at each change. Failures never
// stop the game: a broken file is moved aside, and each kind of failure is said once.
// In records/, the player's own files, GL-free and below the menus and race.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "records/player_file.h"
#include "records/records_file.h"
#include "records/settings_format.h"

// The settings file, from the environment at the time of the call: $XDG_CONFIG_HOME when it is
// an absolute path, else $HOME/.config; empty when neither gives a folder.
std::filesystem::path SettingsFile();

class Settings {
 public:
  // Sound on (the default) or off; `M` in the game switches it.
  bool sound() { return flag("sound", true); }
  void setSound(bool on) { setFlag("sound", on); }
  // The ghost car shown in races (the default) or hidden; `G` switches it.
  bool ghost() { return flag("ghost", true); }
  void setGhost(bool on) { setFlag("ghost", on); }

  // The player's name in the ghosts they keep and share: the `name` setting, else the login
  // name (else "player").
  std::string name();

  // Forgets what was read, so the next question reads the file (of the environment then) anew.
  void reload() { loaded_ = false; }

  FileCalls fileCalls;             // replaced by tests to fail writes
  std::ostream* errors = nullptr;  // where failures are said; null: standard error

 private:
  bool flag(std::string_view name, bool otherwise);
  // Keeps the value for this run and writes the file; a failed write is said once.
  void setFlag(std::string_view name, bool on);
  void loadIfNeeded();

  std::filesystem::path file_;
  bool loaded_ = false;
  SettingsText text_ = *SettingsText::parse("quillon-settings 1\n");
  bool readOnly_ = false;  // a newer version, or a file unreadable or still in the way
  PlayerFileReader reader_{
      {"a settings file", ": written by a newer version; changes are not saved",
       ", settings start anew", "; settings are not saved"},
      64 << 10};  // a settings file this game wrote is a few lines
  bool toldWrite_ = false;
};

// The settings of the game.
extern Settings GameSettings;
