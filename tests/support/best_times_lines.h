// Lines of a best-times file as the tests write them: the header and one race line.
#pragma once

#include <string>

namespace testing_support {

inline const std::string BestTimesHeader = "quillon-best-times 1\n";

inline std::string RaceLine(const std::string& track, const std::string& car,
                            const std::string& seconds,
                            const std::string& date = "2026-12-06T23:10:00Z") {
  return "race\t" + track + "\t" + car + "\t" + seconds + "\t" + date + "\n";
}

}  // namespace testing_support
