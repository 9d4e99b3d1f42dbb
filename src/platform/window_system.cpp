// The window system in use.
#include "platform/window_system.h"

#include <cassert>

namespace platform {
namespace {
WindowSystem* gSystem = nullptr;
}

WindowSystem& CurrentWindowSystem() {
  assert(gSystem && "no window system set");
  return *gSystem;
}

WindowSystem* CurrentWindowSystemIfAny() { return gSystem; }

void SetWindowSystem(WindowSystem* system) { gSystem = system; }

}  // namespace platform
