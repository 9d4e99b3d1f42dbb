// The content generator as a library: every picture, model and sound the game opens from Data/,
// built deterministically (the same bytes on every run).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace content {

struct GeneratedFile {
  std::string name;  // file name inside Data/, e.g. "menuMain.bmp"
  std::vector<uint8_t> bytes;
};

// Every file, in a fixed order.
std::vector<GeneratedFile> BuildContent();

// Writes every file of BuildContent into folder (created when missing). Returns false and
// describes the failure in error when a file cannot be written.
bool GenerateContent(const std::string& folder, std::string* error = nullptr);

}  // namespace content
