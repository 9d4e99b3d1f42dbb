// The player's own folders, found one way for every room: $XDG_DATA_HOME or $XDG_CONFIG_HOME when
// it is an absolute path (a relative one is ignored, as XDG asks), else the usual folder under
// $HOME when HOME is absolute; a relative HOME would name another folder in each working folder,
// so it gives none.
#pragma once

#include <filesystem>

// $`variable` when it names an absolute folder, else $HOME/`belowHome`; empty when neither does.
std::filesystem::path XdgFolder(const char* variable, const char* belowHome);
// The game's folder of the player's data (best times, ghosts, tracks): $XDG_DATA_HOME/quillon,
// else ~/.local/share/quillon; empty when there is none.
std::filesystem::path PlayerDataFolder();
