// Fuzzes the ghost file reader: any bytes are refused or read into a whole ghost; a file of the
// current version is exactly the bytes its ghost and names are written as, and an older one
// is written anew as a file that reads back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "records/ghost_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  GhostPath path;
  GhostLabel label;
  if (ParseGhost(bytes, path, &label) != GhostRead::Read) return 0;
  if (!IsWholeGhost(path)) std::abort();
  const std::string again = FormatGhost(path, label);
  if (GhostVersion(bytes) == GhostFormatVersion && again != bytes) std::abort();
  GhostPath reread;
  GhostLabel relabel;
  if (ParseGhost(again, reread, &relabel) != GhostRead::Read || reread != path || relabel != label)
    std::abort();
  return 0;
}
