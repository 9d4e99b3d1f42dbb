// Finding the player's XDG folders.
#include "assets/player_folders.h"

#include <cstdlib>

std::filesystem::path XdgFolder(const char* variable, const char* belowHome) {
  const char* value = std::getenv(variable);
  if (value != nullptr && value[0] == '/') return value;
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] == '/') return std::filesystem::path(home) / belowHome;
  return {};
}

std::filesystem::path PlayerDataFolder() {
  const std::filesystem::path home = XdgFolder("XDG_DATA_HOME", ".local/share");
  return home.empty() ? home : home / "quillon";
}
