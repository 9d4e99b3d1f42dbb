// Small MilkShape 3D meshes for the model tests and benchmarks (header only, so the benchmarks
// can use it without the test support library).
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "formats/ms3d_writer.h"

namespace testing_support {

// Adds a triangle to the last group. Corner k gets the normal and (s, t) = (0.25 (k + 1),
// 0.75 - 0.25 k), so the first corner is at (0.25, 0.75).
inline void AddTriangle(formats::Ms3dMesh& mesh, std::array<uint16_t, 3> corners,
                        std::array<float, 3> normal) {
  formats::Ms3dTriangle t{.vertexIndices = corners, .vertexNormals = {normal, normal, normal}};
  for (int k = 0; k < 3; ++k) {
    t.s[k] = 0.25f * (k + 1);
    t.t[k] = 0.75f - 0.25f * k;
  }
  mesh.groups.back().triangleIndices.push_back(static_cast<uint16_t>(mesh.triangles.size()));
  mesh.triangles.push_back(t);
}

// A cube of side 2 round the origin: 8 vertices (vertex i has bone -1 - i % 2 and 3 references),
// 12 triangles, one group of all of them and one material whose skin is texturePath.
inline formats::Ms3dMesh CubeMesh(const std::string& texturePath = "./skin.bmp") {
  formats::Ms3dMesh mesh;
  for (int i = 0; i < 8; ++i) {
    mesh.vertices.push_back({0,
                             {i & 1 ? 1.0f : -1.0f, i & 2 ? 1.0f : -1.0f, i & 4 ? 1.0f : -1.0f},
                             int8_t(-1 - i % 2),
                             3});
  }
  mesh.groups.push_back({0, "cube", {}, 0});
  // Each face: its four corners in turn and its normal.
  const std::array<uint16_t, 4> faces[6] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4},
                                            {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
  const std::array<float, 3> normals[6] = {{0, 0, -1}, {0, 0, 1},  {0, -1, 0},
                                           {0, 1, 0},  {-1, 0, 0}, {1, 0, 0}};
  for (int f = 0; f < 6; ++f) {
    AddTriangle(mesh, {faces[f][0], faces[f][1], faces[f][2]}, normals[f]);
    AddTriangle(mesh, {faces[f][0], faces[f][2], faces[f][3]}, normals[f]);
  }
  formats::Ms3dMaterial& material = mesh.materials.emplace_back();
  material.name = "paint";
  material.diffuse = {0.9f, 0.1f, 0.2f, 1.0f};
  material.shininess = 12.5f;
  material.texture = texturePath;
  return mesh;
}

// A flat grid of cells by cells unit squares in the plane y = 0, two triangles each (square
// (x, z) holds triangles 2 (z cells + x) and the next), in one group with a plain material.
inline formats::Ms3dMesh GridMesh(int cells) {
  formats::Ms3dMesh mesh;
  for (int z = 0; z <= cells; ++z) {
    for (int x = 0; x <= cells; ++x) mesh.vertices.push_back({0, {float(x), 0, float(z)}});
  }
  mesh.groups.push_back({0, "grid", {}, 0});
  mesh.materials.emplace_back();
  auto at = [cells](int x, int z) { return static_cast<uint16_t>(z * (cells + 1) + x); };
  for (int z = 0; z < cells; ++z) {
    for (int x = 0; x < cells; ++x) {
      AddTriangle(mesh, {at(x, z), at(x + 1, z), at(x + 1, z + 1)}, {0, 1, 0});
      AddTriangle(mesh, {at(x, z), at(x + 1, z + 1), at(x, z + 1)}, {0, 1, 0});
    }
  }
  return mesh;
}

}  // namespace testing_support
