// Small MilkShape 3D meshes for the model tests, benchmarks and fuzz seeds (header only, so the
// benchmarks can use it without the test support library).
#pragma once

#include <cstdint>
#include <string>

#include "formats/ms3d_writer.h"

namespace testing_support {

// A cube of side 2 round the origin: 8 vertices, 12 triangles, one group of all of them and one
// material whose skin is texturePath. Corner k of every triangle has s = 0.25 * (k + 1) and
// t = 0.75 - 0.25 * k, so the first corner is (0.25, 0.75).
inline formats::Ms3dMesh CubeMesh(const std::string& texturePath = "./skin.bmp") {
  formats::Ms3dMesh mesh;
  for (int i = 0; i < 8; ++i) {
    formats::Ms3dVertex v;
    v.position = {(i & 1) ? 1.0f : -1.0f, (i & 2) ? 1.0f : -1.0f, (i & 4) ? 1.0f : -1.0f};
    v.boneId = static_cast<int8_t>(-1 - i % 2);
    v.referenceCount = 3;
    mesh.vertices.push_back(v);
  }
  // Two triangles per face, each face given by four corners round it and its normal.
  struct Face {
    uint16_t a, b, c, d;
    float nx, ny, nz;
  };
  const Face faces[6] = {{0, 2, 3, 1, 0, 0, -1}, {4, 5, 7, 6, 0, 0, 1},  {0, 1, 5, 4, 0, -1, 0},
                         {2, 6, 7, 3, 0, 1, 0},  {0, 4, 6, 2, -1, 0, 0}, {1, 3, 7, 5, 1, 0, 0}};
  formats::Ms3dGroup group;
  group.name = "cube";
  group.materialIndex = 0;
  for (const Face& f : faces) {
    const uint16_t corners[2][3] = {{f.a, f.b, f.c}, {f.a, f.c, f.d}};
    for (const auto& tri : corners) {
      formats::Ms3dTriangle t;
      for (int k = 0; k < 3; ++k) {
        t.vertexIndices[k] = tri[k];
        t.vertexNormals[k] = {f.nx, f.ny, f.nz};
        t.s[k] = 0.25f * (k + 1);
        t.t[k] = 0.75f - 0.25f * k;
      }
      group.triangleIndices.push_back(static_cast<uint16_t>(mesh.triangles.size()));
      mesh.triangles.push_back(t);
    }
  }
  mesh.groups.push_back(group);
  formats::Ms3dMaterial material;
  material.name = "paint";
  material.diffuse = {0.9f, 0.1f, 0.2f, 1.0f};
  material.shininess = 12.5f;
  material.texture = texturePath;
  mesh.materials.push_back(material);
  return mesh;
}

// A flat grid of cells by cells squares, two triangles each, in one untextured group.
inline formats::Ms3dMesh GridMesh(int cells) {
  formats::Ms3dMesh mesh;
  for (int y = 0; y <= cells; ++y) {
    for (int x = 0; x <= cells; ++x) {
      formats::Ms3dVertex v;
      v.position = {static_cast<float>(x), 0.0f, static_cast<float>(y)};
      mesh.vertices.push_back(v);
    }
  }
  formats::Ms3dGroup group;
  group.name = "grid";
  group.materialIndex = 0;
  auto at = [cells](int x, int y) { return static_cast<uint16_t>(y * (cells + 1) + x); };
  for (int y = 0; y < cells; ++y) {
    for (int x = 0; x < cells; ++x) {
      const uint16_t corners[2][3] = {{at(x, y), at(x + 1, y), at(x + 1, y + 1)},
                                      {at(x, y), at(x + 1, y + 1), at(x, y + 1)}};
      for (const auto& tri : corners) {
        formats::Ms3dTriangle t;
        for (int k = 0; k < 3; ++k) {
          t.vertexIndices[k] = tri[k];
          t.vertexNormals[k] = {0, 1, 0};
        }
        group.triangleIndices.push_back(static_cast<uint16_t>(mesh.triangles.size()));
        mesh.triangles.push_back(t);
      }
    }
  }
  mesh.groups.push_back(group);
  mesh.materials.push_back(formats::Ms3dMaterial{});
  return mesh;
}

}  // namespace testing_support
