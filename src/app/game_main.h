// The program's start, main loop and end.
#pragma once

class FramePacer;

// Runs the whole game on the current window system; returns the process exit code.
int RunGame(FramePacer& pacer);
// The entry point proper: the SDL window system, a 60 Hz pacer, RunGame.
int GameMain();

// Window titles.
constexpr const char* GameTitle = "Quillon: Game built with the Tarn Project";
constexpr const char* ToggleTitle = "Dovi's OpenGL Framework";
