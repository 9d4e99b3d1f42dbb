// Reading and writing the best cup totals.
#include "records/cup_times.h"

#include <charconv>
#include <cstdio>
#include <iostream>

#include "records/best_times.h"
#include "records/player_file.h"
#include "records/records_file.h"

namespace {

constexpr std::string_view FormatLine = "quillon-cup-times 1";
constexpr size_t CupTimesLimit = 1 << 20;

std::vector<std::string_view> Fields(std::string_view line, char separator) {
  std::vector<std::string_view> fields;
  while (true) {
    const size_t end = line.find(separator);
    fields.push_back(line.substr(0, end));
    if (end == std::string_view::npos) return fields;
    line.remove_prefix(end + 1);
  }
}

std::optional<int64_t> Seconds(std::string_view text) {
  int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 0)
    return {};
  return value;
}

// A `cup` line; none for any other line.
std::optional<CupRecord> ParseCup(std::string_view line) {
  const auto fields = Fields(line, '\t');
  if (fields.size() != 5 || fields[0] != "cup") return {};
  CupRecord cup{std::string(fields[1]), std::string(fields[2]), {}};
  for (std::string_view time : Fields(fields[4], ' ')) {
    const auto seconds = Seconds(time);
    if (!seconds) return {};
    cup.times.push_back(*seconds);
  }
  if (Seconds(fields[3]) != cup.total()) return {};
  return cup;
}

std::string Line(const CupRecord& cup) {
  std::string times;
  for (int64_t t : cup.times) times += (times.empty() ? "" : " ") + std::to_string(t);
  return "cup\t" + cup.car + "\t" + cup.tracks + "\t" + std::to_string(cup.total()) + "\t" + times;
}

std::string OneLine(std::string name) {
  for (char& c : name)
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  return name;
}

}  // namespace

int64_t CupRecord::total() const {
  int64_t sum = 0;
  for (int64_t t : times) sum += t;
  return sum;
}

std::string CupTracksKey(const std::vector<std::string>& trackNames) {
  uint64_t hash = 1469598103934665603ull;
  for (const std::string& name : trackNames)
    for (const char c : name + '\n')
      hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

std::filesystem::path CupTimesFile() {
  const std::filesystem::path best = BestTimesFile();
  return best.empty() ? best : best.parent_path() / "cup-times.txt";
}

std::optional<CupRecord> BestCupIn(std::string_view text, std::string_view car,
                                   std::string_view tracks) {
  std::optional<CupRecord> best;
  for (std::string_view line : Fields(text, '\n')) {
    const auto cup = ParseCup(line);
    if (cup && cup->car == OneLine(std::string(car)) && cup->tracks == tracks &&
        (!best || cup->total() < best->total()))
      best = cup;
  }
  return best;
}

std::optional<std::string> WithCup(std::string_view text, const CupRecord& given, bool& kept) {
  kept = false;
  if (!text.empty() && !text.starts_with(FormatLine)) return {};
  CupRecord cup = given;
  cup.car = OneLine(cup.car);
  const auto best = BestCupIn(text, cup.car, cup.tracks);
  if (best && best->total() <= cup.total()) return std::string(text);
  std::string out = std::string(FormatLine) + "\n";
  for (std::string_view line : Fields(text, '\n')) {
    if (line.empty() || line == FormatLine) continue;
    const auto old = ParseCup(line);
    if (old && old->car == cup.car && old->tracks == cup.tracks) continue;  // replaced
    out += std::string(line) + "\n";
  }
  kept = true;
  return out + Line(cup) + "\n";
}

std::optional<CupRecord> BestCup(std::string_view car, std::string_view tracks) {
  const std::filesystem::path file = CupTimesFile();
  std::string text, error;
  if (file.empty() || ReadWholeFile(file, CupTimesLimit, text, error) != ReadResult::Read)
    return {};
  return BestCupIn(text, car, tracks);
}

bool KeepCup(const CupRecord& cup) {
  const std::filesystem::path file = CupTimesFile();
  if (file.empty()) return false;
  bool kept = false;
  std::string error;
  const WriteResult result = WriteUnderLock(
      file, file.parent_path(),
      [&](std::string& why) -> std::optional<std::string> {
        std::string text;
        const ReadResult read = ReadWholeFile(file, CupTimesLimit, text, why);
        if (read != ReadResult::Read && read != ReadResult::Missing) return {};
        auto out = WithCup(text, cup, kept);
        if (!out) why = "not a cup-times file, left as it is";
        return kept ? out : std::nullopt;
      },
      FileCalls{}, error);
  if (result == WriteResult::Failed)
    std::cerr << "quillon: " << file.string() << ": the cup is not kept: " << error << '\n';
  return kept && result == WriteResult::Written;
}
