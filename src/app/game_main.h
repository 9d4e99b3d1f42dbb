// The program's start, main loop and end.
#pragma once

#include "app/command_line.h"

class FramePacer;

// Runs the whole game on the current window system; returns the process exit code. The first
// window is full screen or not as the start question answers, unless `start` fixes it.
int RunGame(FramePacer& pacer, StartWindow start = StartWindow::Ask);
// The entry point proper: the command line, the data folder, the SDL window system, a 60 Hz
// pacer, RunGame.
int GameMain(int argc, const char* const* argv);

// Window titles.
constexpr const char* GameTitle = "Quillon: Game built with the Tarn Project";
constexpr const char* ToggleTitle = "Dovi's OpenGL Framework";
