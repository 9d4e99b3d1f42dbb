// SIGTERM and SIGINT end the game: the main loop sees the request and ends as on F4, and a
// watchdog ends the process at once if what the game waits for (a box, a load, a file that
// never answers) keeps it from getting there.
#pragma once

namespace platform {

// Installs the handlers and starts the watchdog; once, before any other thread or SDL starts.
void InstallQuitSignals();

// True once SIGTERM or SIGINT came.
bool QuitSignalled();

// The game has ended on its own with this exit code: should what is left of the process
// (threads still waiting at exit) keep it from ending within a second, it ends with the code.
void EndWithin(int code);

// Ends the process now with this code, running no exit handlers: for an end that must not wait on
// a thread left inside a library (whose globals the handlers would tear down under it).
[[noreturn]] void EndNow(int code);

// The grace the watchdog gives the game to end by itself after a signal, in seconds.
constexpr double QuitSignalGraceSeconds = 0.8;

}  // namespace platform
