// The folder that the game's relative asset paths ("Data/menuMain.bmp", ...) are read from, and
// the one place where asset files are opened.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

// Sets the folder that relative asset paths are taken under; empty (the default) means the
// working folder. Absolute paths are always read as they are.
void SetDataRoot(std::string root);
const std::string& DataRoot();
// The path an asset name is opened at: a relative name under the data root.
std::string AssetPath(const char* fileName);

// Opens an asset file for binary reading; null when it is missing, cannot be opened or is not a
// regular file (a folder, FIFO or device is treated as missing; opening never blocks).
std::FILE* OpenAssetFile(const char* fileName);

enum class AssetRead { Read, Missing, Failed };
// Reads the asset's first `maxBytes` bytes (all of it when shorter) into `bytes`. Missing as for
// OpenAssetFile; Failed on a read error or when memory runs short.
AssetRead ReadAssetFile(const char* fileName, size_t maxBytes, std::vector<unsigned char>& bytes);
// The same in two steps, for formats whose header says how much of the file they need: the
// first `headerBytes`, then up to `limit(header)` bytes in all.
AssetRead ReadAssetFile(const char* fileName, size_t headerBytes,
                        size_t (*limit)(const std::vector<unsigned char>& header),
                        std::vector<unsigned char>& bytes);
