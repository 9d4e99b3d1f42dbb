// Fuzzes the best-times file reader: any bytes are refused or read into a table that writes
// back every line it held and keeps its races through a write and a read.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "records/records_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  auto table = RecordsTable::parse(text);
  if (!table) return 0;
  const std::string written = table->format();
  // Nothing of the input is lost: it comes back whole, at most with a line end added.
  if (!size) return 0;
  if (written != text && written != std::string(text) + '\n') std::abort();
  table->add({"Sunny", "SMiLE", 95, 1796598600});
  const auto again = RecordsTable::parse(table->format());
  if (!again || again->races() != table->races()) std::abort();
  return 0;
}
