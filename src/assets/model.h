// A MilkShape 3D mesh in memory, with the textures of its materials and the display list that
// draws it. The rest of the game draws a model only with glCallList(model.displayList).
#pragma once

#include <cstdint>
#include <vector>

#include "assets/texture.h"

struct ModelVertex {
  uint8_t flags = 0;           // as in the file; not used
  uint8_t referenceCount = 0;  // as in the file; not used
  int8_t boneId = 0;           // as in the file; not used
  float position[3] = {0, 0, 0};
};

struct ModelTriangle {
  uint16_t flags = 0;
  uint16_t vertexIndices[3] = {0, 0, 0};
  float vertexNormals[3][3] = {};  // one normal (x, y, z) per corner
  float s[3] = {0, 0, 0};
  float t[3] = {0, 0, 0};
  uint8_t smoothingGroup = 0;
  uint8_t groupIndex = 0;
};

struct ModelGroup {
  uint8_t flags = 0;
  char name[32] = {};
  uint16_t triangleCount = 0;
  std::vector<uint16_t> triangleIndices;  // into the triangles, drawn in this order
  int8_t materialIndex = -1;              // negative: the group has no material
};

struct ModelMaterial {
  char name[32] = {};
  float ambient[4] = {0, 0, 0, 0};
  float diffuse[4] = {0, 0, 0, 0};
  float specular[4] = {0, 0, 0, 0};
  float emissive[4] = {0, 0, 0, 0};
  float shininess = 0;
  float transparency = 0;
  uint8_t mode = 0;
  uint32_t textureId = 0;  // GL texture name made by loadTextures; 0 = untextured
  char texture[128] = {};  // path of the skin, rewritten into the model's folder; NUL-terminated
  char alphamap[128] = {};
};

// The textures Model::load will ask for, read from the model file without GL, to be
// prefetched (empty when the file is not a model it can read).
std::vector<PictureRequest> ModelTextureRequests(const char* fileName);

class Model {
 public:
  Model() = default;
  ~Model();
  Model(const Model&) = delete;
  Model& operator=(const Model&) = delete;

  // Reads a version 3 or 4 MilkShape 3D file, makes its materials' textures and compiles its
  // display list (needs a current GL context). A file that cannot be opened or is not a valid
  // model gives false; the Model is then left as it was, unless it still holds a mesh from an
  // earlier GL context, which is dropped (its list and textures belong to the old context).
  bool load(const char* fileName);
  // Turns every material's texture path into a texture name (0 when there is none), deleting
  // the ones it made before in this GL context.
  void loadTextures();
  // Compiles draw() into a fresh display list, replacing the previous one.
  void buildDisplayList();
  // The immediate-mode drawing the display list records.
  void draw() const;
  // Drops the mesh and forgets (or, in their own context, deletes) the display list and the
  // materials' textures.
  void clear();

  int32_t vertexCount() const { return static_cast<int32_t>(vertices.size()); }
  int32_t triangleCount() const { return static_cast<int32_t>(triangles.size()); }
  int32_t groupCount() const { return static_cast<int32_t>(groups.size()); }
  int32_t materialCount() const { return static_cast<int32_t>(materials.size()); }

  std::vector<ModelVertex> vertices;
  std::vector<ModelTriangle> triangles;
  std::vector<ModelGroup> groups;  // drawn in this order
  std::vector<ModelMaterial> materials;
  uint32_t displayList = 0;  // the compiled mesh; 0 while there is none
  // GL context generation the display list was made in (see platform/gl_context_generation.h).
  uint32_t displayListGeneration = 0;
  // GL context generation the materials' textures were made in.
  uint32_t texturesGeneration = 0;

 private:
  void releaseDisplayList();
  void releaseTextures();
};
