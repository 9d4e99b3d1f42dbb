// Everything a shell command writes to its standard output: how the tests ask outside tools
// (ImageMagick, sox) for their reading of a file; and what the game's own printing writes.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace testing_support {

inline std::vector<unsigned char> CommandOutput(const std::string& command) {
  std::vector<unsigned char> out;
  if (std::FILE* pipe = popen(command.c_str(), "r")) {
    unsigned char chunk[4096];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0)
      out.insert(out.end(), chunk, chunk + got);
    pclose(pipe);
  }
  return out;
}

// Runs `print` with two temporary files and returns its code, filling what went to each.
template <typename Print>
int Printed(Print print, std::string& out, std::string& err) {
  std::FILE* files[2] = {std::tmpfile(), std::tmpfile()};
  const int code = print(files[0], files[1]);
  std::string* texts[2] = {&out, &err};
  for (int i = 0; i < 2; ++i) {
    std::rewind(files[i]);
    texts[i]->clear();
    for (int ch; (ch = std::fgetc(files[i])) != EOF;) *texts[i] += static_cast<char>(ch);
    std::fclose(files[i]);
  }
  return code;
}

}  // namespace testing_support
