// Runs the whole game on the current scripted window system with frames unpaced, or plays it to
// its end with the GL name audit on and each race frame passed through a test's hook.
#pragma once

#include "app/frame_pacer.h"
#include "app/game_main.h"
#include "app/screens.h"
#include "platform/keys.h"
#include "platform/window_system.h"
#include "support/gl_name_audit.h"

namespace app_testing {

// RunGame with no waiting between frames.
inline int RunUnpaced(StartWindow start = StartWindow::Ask) {
  FramePacer pacer(
      0.0, [] { return 0.0; }, [](double) {});
  return RunGame(pacer, start);
}

// The race screen's own draw, which the hook calls to draw the frame.
inline void (*RaceDraw)() = nullptr;

// Runs the game (the scripted window system is already current and holds its messages) with a
// fresh audit, the race screen drawing through raceFrame; afterwards the race screen, the audit
// and the window system are as before, and the audit holds its findings.
inline void RunAuditedGame(void (*raceFrame)()) {
  auto& audit = testing_support::GlAudit();
  audit.reset();
  audit.enabled = true;
  RaceDraw = Screens[3].draw;
  Screens[3].draw = raceFrame;
  ClearKeyState();
  RunUnpaced();
  Screens[3].draw = RaceDraw;
  audit.enabled = false;
  platform::SetWindowSystem(nullptr);
}

}  // namespace app_testing
