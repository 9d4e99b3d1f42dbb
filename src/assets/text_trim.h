// Trimming the blanks around a word or value read from a text file.
#pragma once

#include <string_view>

// `text` without the spaces, tabs and carriage returns at either end.
inline std::string_view Trim(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}
