// The data root and the one place where asset files are opened.
#include "assets/data_root.h"

#include <new>
#include <utility>

#include "platform/regular_file.h"

namespace {
std::string gDataRoot;

AssetRead Opened(const platform::RegularFile& file) {
  if (file.opened()) return AssetRead::Read;
  return file.status() == platform::RegularFile::Status::Failed ? AssetRead::Failed
                                                                : AssetRead::Missing;
}
}  // namespace

void SetDataRoot(std::string root) {
  gDataRoot = std::move(root);
}

const std::string& DataRoot() {
  return gDataRoot;
}

std::string AssetPath(const char* fileName) {
  if (!fileName) return {};
  if (gDataRoot.empty() || fileName[0] == '/') return fileName;
  std::string path = gDataRoot;
  if (path.back() != '/') path += '/';
  return path + fileName;
}

std::FILE* OpenAssetFile(const char* fileName) {
  if (!fileName) return nullptr;
  return platform::RegularFile(AssetPath(fileName).c_str()).release();
}

AssetRead ReadAssetFile(const char* fileName, size_t headerBytes,
                        size_t (*limit)(const std::vector<unsigned char>& header),
                        std::vector<unsigned char>& bytes) {
  bytes.clear();
  if (!fileName) return AssetRead::Missing;
  platform::RegularFile file(AssetPath(fileName).c_str());
  if (!file.opened()) return Opened(file);
  try {
    if (!file.readUpTo(bytes, headerBytes)) return AssetRead::Failed;
    if (limit != nullptr && !file.readUpTo(bytes, limit(bytes))) return AssetRead::Failed;
  } catch (const std::bad_alloc&) {
    bytes.clear();
    return AssetRead::Failed;
  }
  return AssetRead::Read;
}

AssetRead ReadAssetFile(const char* fileName, size_t maxBytes, std::vector<unsigned char>& bytes) {
  return ReadAssetFile(fileName, maxBytes, nullptr, bytes);
}
