// Watches the game's texture and display-list names per GL context: a test executable that uses
// this audit has the game's GL name calls pass through it on their way to the driver.
#pragma once

#include <string>
#include <vector>

namespace testing_support {

struct GlNameAudit {
  bool enabled = false;
  // Names made while enabled (texture names, display lists counted one per list).
  int texturesMade = 0;
  int listsMade = 0;
  // Every misuse seen: a name used or deleted in a context that did not make it, or any
  // audited call made with no context current. Kept short; `faultCount` counts them all.
  std::vector<std::string> faults;
  int faultCount = 0;

  // Drops what is known of the current context (called just before it is destroyed).
  void forgetCurrentContext();
  void reset();
};

GlNameAudit& GlAudit();

}  // namespace testing_support
