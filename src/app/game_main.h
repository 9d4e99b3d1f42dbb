// The program's start, main loop and end; returns the process exit code.
#pragma once

int GameMain();
