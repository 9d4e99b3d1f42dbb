// Command-line front end of the content generator: generate_content <Data folder>.
#include <cstdio>
#include <string>

#include "content/content_generator.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <Data folder>\n", argv[0]);
    return 2;
  }
  std::string error;
  if (!content::GenerateContent(argv[1], &error)) {
    std::fprintf(stderr, "generate_content: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
