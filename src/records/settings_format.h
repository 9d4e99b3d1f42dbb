// The settings file format: "quillon-settings 1", then one "name<TAB>value" a line; parsed and
// written without touching any file, so tests and the fuzzer call it directly.
// In records/, the player's own files, GL-free and below the menus and race.
//
//   quillon-settings 1
//   # Settings of Quillon: one setting a line, name and value separated by a tab.
//   sound	on
//   ghost	off
//
// Lines this version does not know (comments, blank lines, other names) are kept as they are.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class SettingsText {
 public:
  // The text of a settings file; nullopt when it is not one (wrong first line, a NUL byte).
  // A newer version is read as far as it goes, and `newer()` says so.
  static std::optional<SettingsText> parse(std::string_view text);

  // The value of a setting, when a line gives one (the last such line wins).
  std::optional<std::string> get(std::string_view name) const;
  // Replaces the value of a setting in place, or adds its line at the end.
  void set(std::string_view name, std::string_view value);
  // "on" or "off" of a switch; `otherwise` for a missing or other value.
  bool flag(std::string_view name, bool otherwise) const;

  // The whole file, first line included, every line ending in "\n".
  std::string format() const;
  // The file names a version above the one this game writes.
  bool newer() const { return newer_; }

 private:
  std::vector<std::string> lines_;  // every line after the first, as read
  bool newer_ = false;
};
