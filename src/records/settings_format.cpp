// Parsing and writing the settings file (format described in the header).
// In records/, the player's own files, GL-free and below the menus and race.
#include "records/settings_format.h"

#include <charconv>

namespace {

constexpr std::string_view Magic = "quillon-settings ";
constexpr int Version = 1;
constexpr std::string_view Header =
    "# Settings of Quillon: one setting a line, name and value separated by a tab.";

// The name of a "name<TAB>value" line, or an empty view for any other line.
std::string_view NameOf(std::string_view line) {
  const size_t tab = line.find('\t');
  if (tab == std::string_view::npos || tab == 0 || line[0] == '#') return {};
  return line.substr(0, tab);
}

}  // namespace

std::optional<SettingsText> SettingsText::parse(std::string_view text) {
  if (text.find('\0') != std::string_view::npos) return std::nullopt;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);  // a byte-order mark
  SettingsText result;
  bool first = true;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (first) {
      first = false;
      if (line.substr(0, Magic.size()) != Magic) return std::nullopt;
      int version = 0;
      const std::string_view number = line.substr(Magic.size());
      const auto [rest, error] =
          std::from_chars(number.data(), number.data() + number.size(), version);
      if (error != std::errc() || rest != number.data() + number.size() || version < 1) {
        return std::nullopt;
      }
      result.newer_ = version > Version;
      continue;
    }
    result.lines_.emplace_back(line);
  }
  if (first) return std::nullopt;  // empty
  return result;
}

std::optional<std::string> SettingsText::get(std::string_view name) const {
  std::optional<std::string> value;
  for (const std::string& line : lines_) {
    if (NameOf(line) == name) value = line.substr(name.size() + 1);
  }
  return value;
}

void SettingsText::set(std::string_view name, std::string_view value) {
  std::string line = std::string(name) + '\t' + std::string(value);
  bool replaced = false;
  for (auto it = lines_.begin(); it != lines_.end();) {
    if (NameOf(*it) != name) {
      ++it;
    } else if (!replaced) {
      *it++ = line;
      replaced = true;
    } else {
      it = lines_.erase(it);  // a repeated line would hide the new value on the next read
    }
  }
  if (replaced) return;
  if (lines_.empty()) lines_.emplace_back(Header);
  lines_.push_back(std::move(line));
}

bool SettingsText::flag(std::string_view name, bool otherwise) const {
  const auto value = get(name);
  if (value == "on") return true;
  if (value == "off") return false;
  return otherwise;
}

std::string SettingsText::format() const {
  std::string text = std::string(Magic) + std::to_string(Version) + "\n";
  for (const std::string& line : lines_) text += line + "\n";
  return text;
}
