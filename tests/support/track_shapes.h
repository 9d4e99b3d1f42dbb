// Track files made up for tests: random smooth loops within every range a file may use, and
// the README's own example.
#pragma once

#include <cstdint>
#include <string>

namespace testing_support {

// A valid `.track` text: a loop around a centre whose distance from it changes smoothly
// (so it never comes back over itself), rising and falling gently, from 0 0 0 along +x round
// to a start straight on the -x axis; steps, half width (up to a quarter of the loop's
// smallest reach), laps and size all drawn from `seed`.
std::string RandomLoopTrack(uint32_t seed);

// The example track file printed in README.md, as kept in tests/track/readme_example.track.
std::string ReadmeExampleTrack();
// The example as README.md prints it (between "```text" and "```" after "## Your own tracks").
std::string ReadmeExampleAsPrinted();

}  // namespace testing_support
