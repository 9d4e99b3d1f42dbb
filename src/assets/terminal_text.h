// Text from outside the game (file names, names and values read from files, arguments) made safe
// to print on a terminal, so a file can never move the cursor, recolour or forge a line.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The most characters TerminalText shows of one text.
constexpr size_t TerminalTextLongest = 200;

// `text` as a terminal should show it: control characters (C0, DEL and C1), bidirectional
// controls and bytes that are not valid UTF-8 as \xNN escapes, one a byte; a longer result is cut
// to TerminalTextLongest characters, the last of them "…".
std::string TerminalText(std::string_view text);
