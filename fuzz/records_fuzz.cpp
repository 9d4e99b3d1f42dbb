// Fuzzes the best-times file reader: any bytes are refused or read into a table that writes
// back every line it held (without a byte-order mark and CR line ends, which it reads past) and
// keeps its races through a write and a read.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "records/records_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  auto table = RecordsTable::parse(text);
  if (!table) return 0;
  const std::string written = table->format();
  // Nothing of the input is lost: it comes back whole, at most with a line end added.
  std::string expected;
  std::string_view rest = text.starts_with("\xEF\xBB\xBF") ? text.substr(3) : text;
  if (rest.empty()) return 0;
  while (!rest.empty()) {
    const size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    if (line.ends_with('\r')) line.remove_suffix(1);
    expected.append(line).push_back('\n');
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
  }
  if (written != expected) std::abort();
  table->add({"Sunny", "SMiLE", 95, 1796598600});
  const auto again = RecordsTable::parse(table->format());
  if (!again || again->races() != table->races()) std::abort();
  return 0;
}
