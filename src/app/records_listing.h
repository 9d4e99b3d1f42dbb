// `quillon --records`: the player's best times and ghosts as lines of text.
#pragma once

#include <iosfwd>

// The best time of every track and car, one line each, with the kept ghost's time in hundredths
// ("ghost 61.23 seconds", or "no ghost") appended, then the medal it wins ("Gold medal") on a
// track offered now, when it wins one; names are shown as TerminalText shows them
// (control characters as \xNN). Then each imported ghost: "imported", its track, car, player and
// time. Only reads: a file that cannot be read or is not a best-times file is said on `errors` and
// left untouched. Returns the process exit code (0, or 1 after such a failure).
int PrintRecords(std::ostream& out, std::ostream& errors);
