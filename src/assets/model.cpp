// Loading a MilkShape 3D model into a Model, and compiling and drawing its mesh.
#include "assets/model.h"

#include <GL/gl.h>

#include <cstdio>
#include <vector>

#include "assets/data_root.h"
#include "assets/ms3d_format.h"
#include "assets/texture.h"
#include "platform/gl_context_generation.h"

namespace {

// The file up to the largest size a model can have; no more of a larger one, and nothing past
// the start of one that is no model, is read.
bool ReadModelFile(const char* fileName, std::vector<uint8_t>& bytes) {
  return ReadAssetFile(fileName, 16, Ms3dReadLimit, bytes) == AssetRead::Read;
}

// A skin the fallback may use: a regular file under the data folder in use.
bool ReadableFile(const char* path) {
  std::FILE* file = OpenAssetFile(path);
  if (file) std::fclose(file);
  return file != nullptr;
}

}  // namespace

Model::~Model() {
  releaseDisplayList();
}

void Model::releaseDisplayList() {
  // A list made in an earlier context is only forgotten: its number may now name another
  // object's list.
  if (displayList != 0 && displayListGeneration == platform::GlContextGeneration()) {
    glDeleteLists(displayList, 1);
  }
  displayList = 0;
  displayListGeneration = 0;
}

void Model::releaseTextures() {
  // Textures of an earlier context went with it; their numbers may now name others.
  for (ModelMaterial& m : materials) {
    if (m.textureId != 0 && texturesGeneration == platform::GlContextGeneration())
      glDeleteTextures(1, &m.textureId);
    m.textureId = 0;
  }
  texturesGeneration = 0;
}

void Model::clear() {
  releaseTextures();
  vertices.clear();
  triangles.clear();
  groups.clear();
  materials.clear();
  releaseDisplayList();
}

namespace {

bool ReadMesh(const char* fileName, Ms3dMesh& mesh) {
  std::vector<uint8_t> bytes;
  if (!fileName || !ReadModelFile(fileName, bytes) ||
      !ParseMs3d(bytes.data(), bytes.size(), ModelDirectory(fileName), mesh, ReadableFile)) {
    return false;
  }
  for (ModelMaterial& m : mesh.materials) {
    if (!SkinInsideDataFolder(m.texture, fileName)) m.texture[0] = '\0';
  }
  return true;
}

// The material's texture path, or null when it has none.
const char* TextureOf(ModelMaterial& m) {
  m.texture[sizeof m.texture - 1] = '\0';
  return m.texture[0] != '\0' ? m.texture : nullptr;
}

}  // namespace

std::vector<PictureRequest> ModelTextureRequests(const char* fileName) {
  std::vector<PictureRequest> requests;
  Ms3dMesh mesh;
  if (!ReadMesh(fileName, mesh)) return requests;
  for (ModelMaterial& m : mesh.materials) {
    if (const char* texture = TextureOf(m)) requests.push_back({texture});
  }
  return requests;
}

bool Model::load(const char* fileName) {
  Ms3dMesh mesh;
  if (!ReadMesh(fileName, mesh)) {
    // A reload in a new context that fails must not keep the old context's list and textures.
    if (displayList != 0 && displayListGeneration != platform::GlContextGeneration()) clear();
    return false;
  }
  releaseTextures();
  vertices = std::move(mesh.vertices);
  triangles = std::move(mesh.triangles);
  groups = std::move(mesh.groups);
  materials = std::move(mesh.materials);
  loadTextures();
  buildDisplayList();
  return true;
}

void Model::loadTextures() {
  releaseTextures();
  texturesGeneration = platform::GlContextGeneration();
  for (ModelMaterial& m : materials) {
    const char* texture = TextureOf(m);
    m.textureId = texture ? LoadTexture(texture) : 0;
  }
}

void Model::buildDisplayList() {
  releaseDisplayList();
  displayList = glGenLists(1);
  if (displayList == 0) return;
  displayListGeneration = platform::GlContextGeneration();
  glNewList(displayList, GL_COMPILE);
  draw();
  glEndList();
}

void Model::draw() const {
  glEnable(GL_TEXTURE_2D);
  if (groups.empty()) {
    glDisable(GL_TEXTURE_2D);
    return;
  }
  for (const ModelGroup& group : groups) {
    // Indices were checked by the parser; entries still out of range (arrays edited by hand)
    // are skipped rather than read past.
    if (group.materialIndex >= 0 && static_cast<size_t>(group.materialIndex) < materials.size()) {
      const ModelMaterial& m = materials[group.materialIndex];
      glMaterialfv(GL_FRONT, GL_AMBIENT, m.ambient);
      glMaterialfv(GL_FRONT, GL_DIFFUSE, m.diffuse);
      glMaterialfv(GL_FRONT, GL_SPECULAR, m.specular);
      glMaterialfv(GL_FRONT, GL_EMISSION, m.emissive);
      glMaterialf(GL_FRONT, GL_SHININESS, m.shininess);
      if (m.textureId != 0) {
        glBindTexture(GL_TEXTURE_2D, m.textureId);
        glEnable(GL_TEXTURE_2D);
      } else {
        glDisable(GL_TEXTURE_2D);
      }
    } else {
      glDisable(GL_TEXTURE_2D);
    }
    glBegin(GL_TRIANGLES);
    for (uint16_t triangleIndex : group.triangleIndices) {
      if (triangleIndex >= triangles.size()) continue;
      const ModelTriangle& triangle = triangles[triangleIndex];
      bool cornersInRange = true;
      for (uint16_t vertexIndex : triangle.vertexIndices) {
        cornersInRange = cornersInRange && vertexIndex < vertices.size();
      }
      if (!cornersInRange) continue;
      for (int corner = 0; corner < 3; ++corner) {
        glNormal3fv(triangle.vertexNormals[corner]);
        glTexCoord2f(triangle.s[corner], -triangle.t[corner]);
        glVertex3fv(vertices[triangle.vertexIndices[corner]].position);
      }
    }
    glEnd();
  }
  glDisable(GL_TEXTURE_2D);
}
