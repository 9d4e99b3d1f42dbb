// The folder that the game's relative asset paths ("Data/menuMain.bmp", ...) are read from.
#pragma once

#include <cstdio>
#include <string>

// Sets the folder that relative asset paths are taken under; empty (the default) means the
// working folder. Absolute paths are always read as they are.
void SetDataRoot(std::string root);
const std::string& DataRoot();

// Opens an asset file for binary reading, a relative name under the data root; null on failure.
std::FILE* OpenAssetFile(const char* fileName);
