// Everything a shell command writes to its standard output: how the tests ask outside tools
// (ImageMagick, sox) for their reading of a file.
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

}  // namespace testing_support
