// Escaping and bounding file names made from a player's text.
#include "assets/file_name_of.h"

#include <cstdint>
#include <cstdio>

std::string EscapedFileName(std::string_view text) {
  static const char hex[] = "0123456789ABCDEF";
  std::string safe;
  for (unsigned char c : text) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_') {
      safe.push_back(static_cast<char>(c));
    } else {
      safe += {'%', hex[c >> 4], hex[c & 15]};
    }
  }
  return safe;
}

std::string FileNameOf(std::initializer_list<std::string_view> parts, std::string_view extension) {
  std::string name;
  bool first = true;
  for (std::string_view part : parts) {
    if (!first) name += '-';
    first = false;
    name += EscapedFileName(part);
  }
  if (name.size() + extension.size() <= FileNameLongest) return name + std::string(extension);
  uint32_t hash = 2166136261u;  // FNV-1a of the whole name
  for (unsigned char c : name) hash = (hash ^ c) * 16777619u;
  char tail[16];
  std::snprintf(tail, sizeof tail, "-%08X", static_cast<unsigned>(hash));
  size_t keep = FileNameLongest - extension.size() - 9;
  // Never cut inside a %XX: it would read as another byte.
  if (keep >= 1 && name[keep - 1] == '%') keep -= 1;
  if (keep >= 2 && name[keep - 2] == '%') keep -= 2;
  return name.substr(0, keep) + tail + std::string(extension);
}
