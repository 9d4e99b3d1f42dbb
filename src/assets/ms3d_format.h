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

// The most of a model file that is read: every section at its largest count, with groups
// holding up to a few hundred thousand triangle indices between them. A model whose sections
// reach past it is refused as cut short.
inline constexpr size_t kMs3dMaxBytes = 64u << 20;
// How much of a file with this start is worth reading: up to kMs3dMaxBytes after the model
// identifier, nothing more after anything else.
size_t Ms3dReadLimit(const std::vector<uint8_t>& start);

// Tells whether a file of this name exists (Model::load asks the file system; tests pass their
// own answer).
using FileExists = bool (*)(const char* path);

// Parses the bytes of a whole file. Texture paths are resolved by RewriteTexturePath. Returns
// false, leaving `mesh` untouched, when the identifier is not "MS3D000000",
// the version is not 3 or 4, a section is cut short, or an index is out of range (a vertex index
// not below the vertex count, a triangle index not below the triangle count, a material index
// not below the material count).
bool ParseMs3d(const uint8_t* data, size_t size, const std::string& directory, Ms3dMesh& mesh,
               FileExists exists = nullptr);

// The folder of a model file: everything before its last '/' (or '\'), "." when there is none.
std::string ModelDirectory(const char* fileName);

// Resolves a material's texture path against the model's folder. '\' is read as a folder
// separator ('/'). A relative path, whether it starts with "./", "../" or is a bare name, is
// taken inside `directory`: "./skin.bmp", "skin.bmp" and "../Cars/skin.bmp" in "Data" become
// "Data/skin.bmp", "Data/skin.bmp" and "Data/../Cars/skin.bmp". An empty or absolute path stays.
// Older models were read by putting `directory` in place of a leading '.' and leaving other
// paths as they stand; where that older reading names a file that `exists` confirms, it is
// kept, so such models still find the same skins. The result is cut to 127 characters so it
// always fits the field with its terminating NUL.
void RewriteTexturePath(char (&texture)[128], const std::string& directory,
                        FileExists exists = nullptr);

// True when a rewritten skin path stays inside the data folder the model was read from: for a
// model named relative to the data folder, a relative path that does not climb out of it with
// "../"; for a model named by an absolute path, a path inside the model's own folder. A skin
// path that leaves it counts as missing.
bool SkinInsideDataFolder(const char* skin, const char* modelFileName);
