// The best-times file format: finished races as plain text lines, parsed and written without
// touching any file, so tests and the fuzzer call it directly.
//
// The file is UTF-8 text with '\n' line ends:
//
//   quillon-best-times 1
//   # any line starting with '#' is a comment
//   race<TAB>Sunny<TAB>SMiLE<TAB>95<TAB>2026-12-06T23:10:00Z
//
// The first line names the format and its version (a whole number). Each `race` line is one
// finished race: the track's name, the car's name (tabs and line breaks in names become
// spaces), the race time in whole seconds as the race shows it, and the date of the finish in
// UTC. Every other line (comments, blank lines, lines of a newer version, a line cut short) is
// kept as it is, in its place, whenever the file is written again. An empty file holds no
// races; a file whose first line is not the format's name and a version is not a best-times
// file and is refused. A UTF-8 byte-order mark at the start and CRLF line ends are read past
// (the file is written back without them).
//
// Kept: for each track the ten best races, and for each track and car the best one. On equal
// times the race that was there first stays ahead.
// In records/, the player's own files (best times now), GL-free and below the menus and race.
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct RaceRecord {
  std::string track;
  std::string car;
  int64_t seconds = 0;   // the race time, whole seconds
  std::time_t date = 0;  // when the race finished, calendar seconds
  bool operator==(const RaceRecord&) const = default;
};

// How many races are kept per track, besides the best of each car.
constexpr size_t KeptRacesPerTrack = 10;

class RecordsTable {
 public:
  // A table for a new file: the format line and two comment lines that explain the fields.
  RecordsTable();

  // Reads a whole file; nullopt when the text is not a best-times file.
  static std::optional<RecordsTable> parse(std::string_view text);
  // The whole file: format line, then every line in order, each ending in '\n'.
  std::string format() const;
  // The same, at most `limit` bytes long where dropping lines that are not races (the last
  // first) can make it so; `dropped` tells whether any went.
  std::string format(size_t limit, bool& dropped) const;
  // The format version of the file read (1 for a new table); a later version than
  // CurrentVersion was written by a newer game.
  int64_t version() const { return version_; }
  static constexpr int64_t CurrentVersion = 1;

  // Adds a finished race and drops the races of its track that are no longer kept. True when
  // the new race is kept (it is among its track's ten best or its car's best there).
  bool add(RaceRecord record);
  // The best race of this track and car.
  std::optional<RaceRecord> best(std::string_view track, std::string_view car) const;
  // The best race of every track and car pair, by track name, then car name.
  std::vector<RaceRecord> bestOfEachPair() const;
  // Every race, in file order.
  std::vector<RaceRecord> races() const;

 private:
  struct Line {
    std::optional<RaceRecord> race;  // set for a race line
    std::string text;                // the line as it is written
  };
  std::string header_;
  int64_t version_ = CurrentVersion;
  std::vector<Line> lines_;
};

// The record's date as the file writes it: YYYY-MM-DDTHH:MM:SSZ.
std::string FormatRecordDate(std::time_t date);
// Parses exactly that form; nullopt for anything else (a day that does not exist included).
std::optional<std::time_t> ParseRecordDate(std::string_view text);
