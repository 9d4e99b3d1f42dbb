// Fuzzes the ghost file reader: any bytes are refused or read into a whole ghost whose file is
// exactly those bytes again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "records/ghost_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  GhostPath path;
  if (ParseGhost(bytes, path) != GhostRead::Read) return 0;
  if (!IsWholeGhost(path) || FormatGhost(path) != bytes) std::abort();
  return 0;
}
