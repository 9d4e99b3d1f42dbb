// The program's start, main loop and end.
#pragma once

#include "app/command_line.h"

class FramePacer;
namespace platform {
class SdlWindowSystem;
}

// Runs the whole game on the current window system; returns the process exit code. The first
// window is full screen or not as the start question answers, unless `start` fixes it.
int RunGame(FramePacer& pacer, StartWindow start = StartWindow::Ask);
// The game's start on SDL, as a player starts it: the video, RunGame with the sound output opened
// once the first frame is shown; returns RunGame's exit code, 1 when the video cannot start.
int PlayOn(platform::SdlWindowSystem& sdl, FramePacer& pacer, const CommandLine& line);
// The entry point proper: the command line, the data folder, the SDL window system, a 60 Hz
// pacer, RunGame.
int GameMain(int argc, const char* const* argv);

// Window titles.
constexpr const char* GameTitle = "Quillon: Game built with the Tarn Project";
constexpr const char* ToggleTitle = "Dovi's OpenGL Framework";
