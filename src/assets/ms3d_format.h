// Parser of MilkShape 3D binary model files (versions 3 and 4) into the Model's record arrays.
// Pure and GL-free, so tests and the fuzzer call it directly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "assets/model.h"

// The four sections of a model file, as read.
struct Ms3dMesh {
  std::vector<ModelVertex> vertices;
  std::vector<ModelTriangle> triangles;
  std::vector<ModelGroup> groups;
  std::vector<ModelMaterial> materials;
};

// Parses the bytes of a whole file. Texture paths starting with '.' are rewritten into
// `directory`. Returns false, leaving `mesh` untouched, when the identifier is not "MS3D000000",
// the version is not 3 or 4, a section is cut short, or an index is out of range (a vertex index
// not below the vertex count, a triangle index not below the triangle count, a material index
// not below the material count).
bool ParseMs3d(const uint8_t* data, size_t size, const std::string& directory, Ms3dMesh& mesh);

// The folder of a model file: everything before its last '/' (or '\'), "." when there is none.
std::string ModelDirectory(const char* fileName);

// Reads '\' as a folder separator ('/') and, when the path starts with '.', replaces that dot
// with `directory`: "./skin.bmp" in "Data" becomes "Data/skin.bmp". The result is cut to 127
// characters so it always fits the field with its terminating NUL.
void RewriteTexturePath(char (&texture)[128], const std::string& directory);
