// The game's command line: options parsed into a plain record, the usage text, exit codes.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

// How the first window is chosen: by the start question, or fixed by an option.
enum class StartWindow { Ask, Fullscreen, Windowed };

struct CommandLine {
  enum class Action {
    Play,
    Help,
    Version,
    Records,
    ExportGhost,
    ImportGhost,
    CheckTrack,
    ListTracks,
    Usage
  };
  Action action = Action::Play;
  StartWindow window = StartWindow::Ask;
  bool mute = false;                    // no sound this run, the kept choice unchanged
  std::string badOption;                // the argument that made the action Usage
  std::vector<std::string> arguments;   // what follows --export-ghost or --import-ghost
  std::vector<std::string> trackFiles;  // the files after --check-track
};

constexpr int UsageExitCode = 2;

// Reads argv[1..argc-1]; the first argument that is no known option stops the reading with the
// action Usage. Of --fullscreen and --windowed the last one given counts.
CommandLine ParseCommandLine(int argc, const char* const* argv);

std::string UsageText();
std::string VersionText();

// Prints what the command line asks for (help or version on out, a usage error on err) and
// returns the exit code when the program ends here; nothing when the game is to be played.
std::optional<int> AnswerCommandLine(const CommandLine& line, std::FILE* out, std::FILE* err);
