// The best cup totals: kept in cup-times.txt beside the best times, one line for each car and
// set of tracks, with the time of each track of that cup (shown as splits on the next cup's
// results). Written atomically under the records lock; a line this game cannot read is kept as
// it is, and a file that is not a cup-times file is never replaced.
//
//   quillon-cup-times 1
//   cup<TAB>SMiLE<TAB>0123456789abcdef<TAB>640<TAB>110 134 116 98 130 81 106
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct CupRecord {
  std::string car;
  std::string tracks;          // TracksKey of the cup's tracks
  std::vector<int64_t> times;  // each track's race time in whole seconds, in order
  int64_t total() const;
  bool operator==(const CupRecord&) const = default;
};

// The key of a set of tracks in order: a hash of their records names, as 16 hex digits.
std::string CupTracksKey(const std::vector<std::string>& trackNames);

// The cup-times file in the records folder; empty when there is none.
std::filesystem::path CupTimesFile();

// The best cup of `car` over `tracks` in the file's text; none when it holds none.
std::optional<CupRecord> BestCupIn(std::string_view text, std::string_view car,
                                   std::string_view tracks);
// The file's text with `cup` kept when it beats the best of its car and tracks (or is the
// first); nullopt when the text is not a cup-times file. `kept` tells whether it was.
std::optional<std::string> WithCup(std::string_view text, const CupRecord& cup, bool& kept);

// The best cup kept in the file.
std::optional<CupRecord> BestCup(std::string_view car, std::string_view tracks);
// Keeps a finished cup when it is the best of its car and tracks. True when it was kept; a file
// that could not be written is said on standard error.
bool KeepCup(const CupRecord& cup);
