// The data root and the one place where asset files are opened.
#include "assets/data_root.h"

#include <utility>

namespace {
std::string gDataRoot;
}

void SetDataRoot(std::string root) {
  gDataRoot = std::move(root);
}

const std::string& DataRoot() {
  return gDataRoot;
}

std::FILE* OpenAssetFile(const char* fileName) {
  if (!fileName) return nullptr;
  if (gDataRoot.empty() || fileName[0] == '/') return std::fopen(fileName, "rb");
  std::string path = gDataRoot;
  if (path.back() != '/') path += '/';
  path += fileName;
  return std::fopen(path.c_str(), "rb");
}
