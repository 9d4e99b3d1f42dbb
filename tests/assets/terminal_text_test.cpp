// Outside text shown on a terminal: every character a terminal acts on escaped, the rest kept,
// and a long text clipped on a whole character.
#include "assets/terminal_text.h"

#include <gtest/gtest.h>

namespace {

TEST(TerminalText, EscapesWhatATerminalActsOnAndClipsLongText) {
  const struct {
    std::string text, shown;
  } cases[] = {
      {"Sunny", "Sunny"},
      {"Zo\xC3\xA9 \xF0\x9F\x8F\x81 a\\x1B", "Zo\xC3\xA9 \xF0\x9F\x8F\x81 a\\x1B"},
      {"a\x1B[2Jb", "a\\x1B[2Jb"},
      {"x\nquillon: all good\r", "x\\x0Aquillon: all good\\x0D"},
      {std::string("a\0b\x7F", 4), "a\\x00b\\x7F"},
      {"\xC2\x9B"
       "1m",
       "\\xC2\\x9B1m"},  // C1 control
      {"\xE2\x80\xAE"
       "evil",
       "\\xE2\\x80\\xAEevil"},                                  // right-to-left override
      {"\xE2\x81\xA6x\xD8\x9C", "\\xE2\\x81\\xA6x\\xD8\\x9C"},  // isolate, Arabic mark
      {"\xFF\xC3", "\\xFF\\xC3"},                               // not UTF-8, a cut sequence
      {"\xC0\xAF\xED\xA0\x80", "\\xC0\\xAF\\xED\\xA0\\x80"},    // overlong, surrogate
  };
  for (const auto& c : cases) EXPECT_EQ(TerminalText(c.text), c.shown) << c.shown;
  EXPECT_EQ(TerminalText(std::string(200, 'a')), std::string(200, 'a'));
  EXPECT_EQ(TerminalText(std::string(201, 'a')), std::string(199, 'a') + "\xE2\x80\xA6");
  // Escapes count as the characters they show and are never cut.
  std::string lines;
  for (int i = 0; i < 49; ++i) lines += "\\x0A";
  EXPECT_EQ(TerminalText(std::string(300, '\n')), lines + "\xE2\x80\xA6");
}

}  // namespace
