// libFuzzer target for the MilkShape 3D parser: any bytes must parse or be refused cleanly,
// and an accepted mesh must have every index in range.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "assets/ms3d_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Ms3dMesh mesh;
  if (!ParseMs3d(data, size, "Data", mesh)) return 0;
  for (const ModelTriangle& t : mesh.triangles) {
    for (uint16_t index : t.vertexIndices) {
      if (index >= mesh.vertices.size()) std::abort();
    }
  }
  for (const ModelGroup& g : mesh.groups) {
    if (g.triangleIndices.size() != g.triangleCount) std::abort();
    for (uint16_t index : g.triangleIndices) {
      if (index >= mesh.triangles.size()) std::abort();
    }
    if (g.materialIndex >= static_cast<int>(mesh.materials.size())) std::abort();
  }
  for (const ModelMaterial& m : mesh.materials) {
    if (std::memchr(m.texture, 0, sizeof m.texture) == nullptr) std::abort();
  }
  return 0;
}
