// Medals from best times and target times.
#include "track/medals.h"

#include <cmath>
#include <cstdio>

const char* MedalName(Medal medal) {
  switch (medal) {
    case Medal::Bronze:
      return "Bronze";
    case Medal::Silver:
      return "Silver";
    case Medal::Gold:
      return "Gold";
    case Medal::Author:
      return "Author";
    case Medal::None:
      break;
  }
  return "";
}

std::array<float, 3> MedalColour(Medal medal) {
  switch (medal) {
    case Medal::Bronze:
      return {0.85f, 0.55f, 0.3f};
    case Medal::Silver:
      return {0.7f, 0.85f, 1.0f};
    case Medal::Gold:
      return {1.0f, 0.8f, 0.1f};
    case Medal::Author:
      return {0.8f, 0.55f, 1.0f};
    case Medal::None:
      break;
  }
  return {0.8f, 0.8f, 0.8f};
}

std::vector<MedalTarget> MedalTargets(const TrackTargets& targets) {
  std::vector<MedalTarget> list;
  if (targets.medals) {
    list.push_back({Medal::Bronze, (*targets.medals)[0]});
    list.push_back({Medal::Silver, (*targets.medals)[1]});
    list.push_back({Medal::Gold, (*targets.medals)[2]});
  }
  if (targets.author) list.push_back({Medal::Author, *targets.author});
  return list;
}

Medal MedalOf(std::optional<int64_t> best, const TrackTargets& targets) {
  Medal won = Medal::None;
  if (!best) return won;
  for (const MedalTarget& target : MedalTargets(targets)) {
    if (static_cast<double>(*best) > target.seconds) break;
    won = target.medal;
  }
  return won;
}

std::optional<MedalTarget> NextTarget(std::optional<int64_t> best, const TrackTargets& targets) {
  const Medal won = MedalOf(best, targets);
  for (const MedalTarget& target : MedalTargets(targets)) {
    if (target.medal > won) return target;
  }
  return {};
}

std::string MedalTargetText(const MedalTarget& target) {
  char text[48];
  std::snprintf(text, sizeof text, "%s %.1f s", MedalName(target.medal), target.seconds);
  return text;
}

std::array<double, 3> MedalsFromAutopilot(double seconds) {
  // A hair off before rounding up, so that a whole tenth stays as it is.
  const auto tenthUp = [](double s) { return std::ceil(s * 10.0 - 1e-6) / 10.0; };
  const double gold = tenthUp(seconds);
  return {tenthUp(gold * 1.25), tenthUp(gold * 1.1), gold};
}
