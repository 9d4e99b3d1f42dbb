// Parsing, writing and the keep rule of the best-times file (format described in the header).
// In records/, the player's own files (best times now), GL-free and below the menus and race.
#include "records/records_format.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <utility>

namespace {

constexpr std::string_view FormatName = "quillon-best-times";
constexpr std::string_view RaceKeyword = "race";
constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

bool IsDigits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A version or a race time: digits without a leading zero, at most nine of them.
std::optional<int64_t> ParseCount(std::string_view text) {
  if (!IsDigits(text) || text.size() > 9 || (text.size() > 1 && text[0] == '0')) return {};
  int64_t value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

std::vector<std::string_view> SplitTabs(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  for (size_t tab; (tab = line.find('\t', start)) != std::string_view::npos; start = tab + 1)
    fields.push_back(line.substr(start, tab - start));
  fields.push_back(line.substr(start));
  return fields;
}

std::optional<RaceRecord> ParseRaceLine(std::string_view line) {
  const auto fields = SplitTabs(line);
  if (fields.size() != 5 || fields[0] != RaceKeyword) return {};
  const auto seconds = ParseCount(fields[3]);
  const auto date = ParseRecordDate(fields[4]);
  if (!seconds || !date) return {};
  return RaceRecord{std::string(fields[1]), std::string(fields[2]), *seconds, *date};
}

// A name as one field: tabs and line breaks would split the line.
std::string FieldText(std::string_view name) {
  std::string text(name);
  std::replace_if(
      text.begin(), text.end(), [](char c) { return c == '\t' || c == '\n' || c == '\r'; }, ' ');
  return text;
}

std::string RaceLine(const RaceRecord& race) {
  std::string line(RaceKeyword);
  for (const std::string& field :
       {race.track, race.car, std::to_string(race.seconds), FormatRecordDate(race.date)}) {
    line += '\t';
    line += field;
  }
  return line;
}

}  // namespace

std::string FormatRecordDate(std::time_t date) {
  std::tm parts{};
  if (gmtime_r(&date, &parts) == nullptr) return "0000-00-00T00:00:00Z";
  char text[64];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
  return text;
}

std::optional<std::time_t> ParseRecordDate(std::string_view text) {
  // Positions of the separators in YYYY-MM-DDTHH:MM:SSZ; every other character is a digit.
  constexpr std::string_view Shape = "0000-00-00T00:00:00Z";
  if (text.size() != Shape.size()) return {};
  for (size_t i = 0; i < Shape.size(); ++i) {
    const bool digit = text[i] >= '0' && text[i] <= '9';
    if (Shape[i] == '0' ? !digit : text[i] != Shape[i]) return {};
  }
  auto number = [&](size_t at, size_t length) {
    int value = 0;
    std::from_chars(text.data() + at, text.data() + at + length, value);
    return value;
  };
  std::tm parts{};
  parts.tm_year = number(0, 4) - 1900;
  parts.tm_mon = number(5, 2) - 1;
  parts.tm_mday = number(8, 2);
  parts.tm_hour = number(11, 2);
  parts.tm_min = number(14, 2);
  parts.tm_sec = number(17, 2);
  const std::time_t date = timegm(&parts);
  // timegm rolls a 31st of June into July: only a date that writes back the same is real.
  if (FormatRecordDate(date) != text) return {};
  return date;
}

RecordsTable::RecordsTable() : header_(std::string(FormatName) + " 1") {
  lines_.push_back(
      {{}, "# Best times of Quillon: one finished race a line, fields separated by tabs:"});
  lines_.push_back({{}, "# race, track, car, race time in seconds, date of the finish (UTC)."});
}

std::optional<RecordsTable> RecordsTable::parse(std::string_view text) {
  RecordsTable table;
  // A byte-order mark and CRLF line ends, as some editors save, are read past.
  if (text.starts_with(ByteOrderMark)) text.remove_prefix(ByteOrderMark.size());
  if (text.empty()) return table;
  table.lines_.clear();
  bool first = true;
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();  // a last line without its end
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (first) {
      first = false;
      if (!line.starts_with(FormatName) || line.size() <= FormatName.size() + 1 ||
          line[FormatName.size()] != ' ' || !ParseCount(line.substr(FormatName.size() + 1)) ||
          line.substr(FormatName.size() + 1) == "0")
        return {};
      table.header_ = line;
      table.version_ = *ParseCount(line.substr(FormatName.size() + 1));
      continue;
    }
    // A race line that ends in more carriage returns is the race: written back as it was, it
    // would read as the race anyway once its line end's return is taken off.
    std::string_view bare = line;
    while (bare.ends_with('\r')) bare.remove_suffix(1);
    if (auto race = ParseRaceLine(bare)) {
      table.lines_.push_back({std::move(race), std::string(line)});
    } else if (!table.lines_.empty() && !table.lines_.back().race) {
      // Lines that are not races run together in one entry: a file of many blank lines
      // stays small in memory.
      table.lines_.back().text += '\n';
      table.lines_.back().text += line;
    } else {
      table.lines_.push_back({{}, std::string(line)});
    }
  }
  return table;
}

std::string RecordsTable::format() const {
  bool dropped = false;
  return format(std::string::npos, dropped);
}

std::string RecordsTable::format(size_t limit, bool& dropped) const {
  size_t size = header_.size() + 1;
  for (const Line& line : lines_) size += line.text.size() + 1;
  // Over the limit, lines that are not races go, the last first, until the rest fits.
  std::vector<size_t> kept(lines_.size());
  for (size_t i = 0; i < lines_.size(); ++i) kept[i] = lines_[i].text.size() + 1;
  dropped = false;
  for (size_t i = lines_.size(); i-- > 0 && size > limit;) {
    if (lines_[i].race) continue;
    const std::string& text = lines_[i].text;
    size_t length = text.size() + 1;  // the lines of the entry, each with its '\n'
    while (length > 0 && size > limit) {
      const size_t cut = length == 1 ? std::string::npos : text.rfind('\n', length - 2);
      const size_t shorter = cut == std::string::npos ? 0 : cut + 1;
      size -= length - shorter;
      length = shorter;
      dropped = true;
    }
    kept[i] = length;
  }
  std::string text;
  text.reserve(size);
  text += header_ + '\n';
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (kept[i] == 0) continue;
    text.append(lines_[i].text, 0, kept[i] - 1);
    text += '\n';
  }
  return text;
}

bool RecordsTable::add(RaceRecord record) {
  record.track = FieldText(record.track);
  record.car = FieldText(record.car);
  lines_.push_back({record, RaceLine(record)});

  // The races of this track from best to worst; on equal times the earlier line first.
  std::vector<size_t> order;
  for (size_t i = 0; i < lines_.size(); ++i)
    if (lines_[i].race && lines_[i].race->track == record.track) order.push_back(i);
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    return lines_[a].race->seconds < lines_[b].race->seconds;
  });
  std::vector<bool> keep(lines_.size(), true);
  std::vector<std::string> carsSeen;
  for (size_t rank = 0; rank < order.size(); ++rank) {
    const std::string& car = lines_[order[rank]].race->car;
    const bool carsBest = std::find(carsSeen.begin(), carsSeen.end(), car) == carsSeen.end();
    if (carsBest) carsSeen.push_back(car);
    keep[order[rank]] = rank < KeptRacesPerTrack || carsBest;
  }
  const bool kept = keep.back();
  std::vector<Line> remaining;
  for (size_t i = 0; i < lines_.size(); ++i)
    if (keep[i]) remaining.push_back(std::move(lines_[i]));
  lines_ = std::move(remaining);
  return kept;
}

std::optional<RaceRecord> RecordsTable::best(std::string_view track, std::string_view car) const {
  const std::string trackField = FieldText(track), carField = FieldText(car);
  std::optional<RaceRecord> best;
  for (const Line& line : lines_) {
    if (!line.race || line.race->track != trackField || line.race->car != carField) continue;
    if (!best || line.race->seconds < best->seconds) best = line.race;
  }
  return best;
}

std::vector<RaceRecord> RecordsTable::bestOfEachPair() const {
  std::map<std::pair<std::string, std::string>, RaceRecord> best;
  for (const Line& line : lines_) {
    if (!line.race) continue;
    auto [at, inserted] = best.try_emplace({line.race->track, line.race->car}, *line.race);
    if (!inserted && line.race->seconds < at->second.seconds) at->second = *line.race;
  }
  std::vector<RaceRecord> result;
  for (auto& [pair, race] : best) result.push_back(race);
  return result;
}

std::vector<RaceRecord> RecordsTable::races() const {
  std::vector<RaceRecord> result;
  for (const Line& line : lines_)
    if (line.race) result.push_back(*line.race);
  return result;
}
