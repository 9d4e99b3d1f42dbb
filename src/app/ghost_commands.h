// `quillon --export-ghost TRACK CAR FILE` and `quillon --import-ghost FILE...`.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// Writes the best ghost of TRACK and CAR (`arguments`) to FILE. Exit code 0, or 1 with the
// reason said on `errors`.
int ExportGhostCommand(const std::vector<std::string>& arguments, std::ostream& out,
                       std::ostream& errors);
// Checks each file as the game reads ghosts and keeps the good ones apart from the player's own,
// one line each on `out`; each refused file is said with its reason on `errors`. Exit code 0
// when every file was imported, else 1.
int ImportGhostCommand(const std::vector<std::string>& files, std::ostream& out,
                       std::ostream& errors);
