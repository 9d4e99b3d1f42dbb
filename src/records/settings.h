// The player's settings: kept in $XDG_CONFIG_HOME/quillon/settings.txt (by default
// ~/.config/quillon/), read on first use; each change reads the file again and writes it
// atomically under the folder's lock, changing only its own line, so lines edited by hand or
// by another game meanwhile are kept. Failures never stop the game: a broken file is moved
// aside, and each kind of failure is said once.
// In records/, the player's own files, GL-free and below the menus and race.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "records/player_file.h"
#include "records/records_file.h"
#include "records/settings_format.h"

// The settings file, from the environment at the time of the call: $XDG_CONFIG_HOME when it is
// an absolute path, else $HOME/.config; empty when neither gives a folder.
std::filesystem::path SettingsFile();

// The longest settings file the game reads (one it wrote is a few lines); a change that would make
// the file longer is refused.
constexpr size_t SettingsFileLimit = 64 << 10;

class Settings {
 public:
  // Sound on (the default) or off; `M` in the game switches it.
  bool sound() { return flag("sound", true); }
  void setSound(bool on) { setFlag("sound", on); }
  // The ghost car shown in races (the default) or hidden; `G` switches it.
  bool ghost() { return flag("ghost", true); }
  void setGhost(bool on) { setFlag("ghost", on); }
  // The master volume, 0 to 10 (8 by default); `-` and `=` change it.
  int volume() { return number("volume", 0, 10, 8); }
  void setVolume(int volume) { setValue("volume", std::to_string(volume)); }

  // The player's name in the ghosts they keep and share: the `name` setting, else the login
  // name (else "player").
  std::string name();

  // Any setting's value as the file gives it, and a change of it (kept for this run even when
  // it cannot be written; refused, said once, when it would make the file longer than
  // SettingsFileLimit).
  std::optional<std::string> value(std::string_view name);
  void setValue(std::string_view name, std::string_view value);

  // Forgets what was read, so the next question reads the file (of the environment then) anew.
  void reload() { loaded_ = false; }

  FileCalls fileCalls;             // replaced by tests to fail writes
  std::ostream* errors = nullptr;  // where failures are said; null: standard error

 private:
  bool flag(std::string_view name, bool otherwise);
  // A whole number from `low` to `high`; `otherwise` for a missing or other value.
  int number(std::string_view name, int low, int high, int otherwise);
  void setFlag(std::string_view name, bool on) { setValue(name, on ? "on" : "off"); }
  void loadIfNeeded();
  // Reads the file (of the environment now) into text_, moving a broken one aside.
  void readFile();

  std::filesystem::path file_;
  bool loaded_ = false;
  SettingsText text_ = *SettingsText::parse("quillon-settings 1\n");
  bool readOnly_ = false;  // a newer version, or a file unreadable or still in the way
  PlayerFileReader reader_{
      {"a settings file", ": written by a newer version; changes are not saved",
       ", settings start anew", "; settings are not saved"},
      SettingsFileLimit};
  // Changes of this run not yet written, laid over every later read of the file.
  std::vector<std::pair<std::string, std::string>> unsaved_;
  bool toldWrite_ = false;
  bool toldLong_ = false;
};

// The settings of the game.
extern Settings GameSettings;
