// Command-line options as one table: each entry's name, help line and what it sets.
#include "app/command_line.h"

#include <cstring>
#include <sstream>

#include "app/data_location.h"
#include "app/ghost_commands.h"
#include "app/records_listing.h"
#include "app/track_options.h"
#include "assets/terminal_text.h"

namespace {

struct Option {
  const char* name;
  const char* help;
  void (*apply)(CommandLine&);
};

constexpr Option kOptions[] = {
    {"--fullscreen", "start full screen without asking",
     [](CommandLine& c) { c.window = StartWindow::Fullscreen; }},
    {"--windowed", "start in a window without asking",
     [](CommandLine& c) { c.window = StartWindow::Windowed; }},
    {"--mute", "play without sound this run (M switches sound and keeps the choice)",
     [](CommandLine& c) { c.mute = true; }},
    {"--help", "print this help and exit",
     [](CommandLine& c) { c.action = CommandLine::Action::Help; }},
    {"--version", "print the version and exit",
     [](CommandLine& c) { c.action = CommandLine::Action::Version; }},
    {"--records", "print the best time of each track and car and exit",
     [](CommandLine& c) { c.action = CommandLine::Action::Records; }},
    {"--check-track", "FILE... check track files: name, length, segments, laps or each fault",
     [](CommandLine& c) { c.action = CommandLine::Action::CheckTrack; }},
    {"--list-tracks", "print every track offered, in order, and where it comes from",
     [](CommandLine& c) { c.action = CommandLine::Action::ListTracks; }},
};

// Options that take the arguments after them: a fixed count, or (0) one or more to the end.
struct FileOption {
  const char* name;
  const char* arguments;
  const char* help;
  int count;
  CommandLine::Action action;
};

constexpr FileOption kFileOptions[] = {
    {"--export-ghost", "TRACK CAR FILE", "write the best ghost of TRACK and CAR to FILE and exit",
     3, CommandLine::Action::ExportGhost},
    {"--import-ghost", "FILE...", "check and keep other players' ghost files and exit", 0,
     CommandLine::Action::ImportGhost},
};

}  // namespace

CommandLine ParseCommandLine(int argc, const char* const* argv) {
  CommandLine line;
  for (int i = 1; i < argc; ++i) {
    const FileOption* taking = nullptr;
    for (const FileOption& option : kFileOptions) {
      if (std::strcmp(argv[i], option.name) == 0) taking = &option;
    }
    if (taking != nullptr) {
      const int left = argc - i - 1;
      if (taking->count == 0 ? left < 1 : left != taking->count) {
        line.action = CommandLine::Action::Usage;
        line.badOption = argv[i];
        return line;
      }
      line.action = taking->action;
      line.arguments.assign(argv + i + 1, argv + argc);
      return line;
    }
    const Option* found = nullptr;
    for (const Option& option : kOptions) {
      if (std::strcmp(argv[i], option.name) == 0) found = &option;
    }
    if (!found) {
      line.action = CommandLine::Action::Usage;
      line.badOption = argv[i];
      return line;
    }
    found->apply(line);
    // Every argument after --check-track is a file to check.
    if (line.action == CommandLine::Action::CheckTrack) {
      line.trackFiles.assign(argv + i + 1, argv + argc);
      return line;
    }
  }
  return line;
}

std::string UsageText() {
  std::string text =
      "Usage: quillon [OPTION]...\n"
      "A small 3-D car racing game for one player, or two on a split screen: three cars, seven\n"
      "tracks and your own, best times, ghosts to race and share, replays.\n"
      "Without an option the game asks whether to run full screen.\n\n";
  for (const Option& option : kOptions) {
    text += "  ";
    text += option.name;
    const size_t length = std::strlen(option.name);
    text.append(length < 14 ? 14 - length : 1, ' ');
    text += option.help;
    text += '\n';
  }
  for (const FileOption& option : kFileOptions) {
    text += std::string("  ") + option.name + " " + option.arguments + "\n";
    text += std::string(18, ' ') + option.help + "\n";
  }
  text +=
      "\nIn the game: the arrows drive and choose, N nitro, 1 and 2 the views, G the ghost, R\n"
      "restart, V watch a race again, I your ghost or an imported one, K a cup of every track\n"
      "(track selection), C the controls screen (main menu), M sound, - and = volume, F1\n"
      "window or full screen, F4 quit. Player two joins on the car selection with W. More in\n"
      "the manual page, quillon(6).\n"
      "\nPictures, models and sounds are read from Data/ in the working folder when it holds the\n"
      "game's files, else from Data/ in $QUILLON_DATA_DIR, else from the folder installed with the "
      "game.\n";
  return text;
}

std::string VersionText() {
  return std::string("quillon ") + QUILLON_VERSION + "\n";
}

std::optional<int> AnswerCommandLine(const CommandLine& line, std::FILE* out, std::FILE* err) {
  switch (line.action) {
    case CommandLine::Action::Play:
      return std::nullopt;
    case CommandLine::Action::Help:
    case CommandLine::Action::Version:
    case CommandLine::Action::Records: {
      // A text that could not be written (a full disk, a closed pipe) is no success.
      std::string text;
      int code = 0;
      if (line.action == CommandLine::Action::Records) {
        std::ostringstream table, problems;
        LocateGameData();  // the tracks of the data folder and their medals
        code = PrintRecords(table, problems);
        text = table.str();
        std::fputs(problems.str().c_str(), err);
      } else {
        text = line.action == CommandLine::Action::Help ? UsageText() : VersionText();
      }
      const bool written =
          std::fwrite(text.data(), 1, text.size(), out) == text.size() && std::fflush(out) == 0;
      return written ? code : 1;
    }
    case CommandLine::Action::ExportGhost:
    case CommandLine::Action::ImportGhost: {
      std::ostringstream said, problems;
      LocateGameData();  // the track files of the data folder are tracks a ghost may be for
      const int code = line.action == CommandLine::Action::ExportGhost
                           ? ExportGhostCommand(line.arguments, said, problems)
                           : ImportGhostCommand(line.arguments, said, problems);
      std::fputs(problems.str().c_str(), err);
      const std::string text = said.str();
      const bool written =
          std::fwrite(text.data(), 1, text.size(), out) == text.size() && std::fflush(out) == 0;
      return written ? code : 1;
    }
    case CommandLine::Action::CheckTrack:
      LocateGameData();  // a name is checked against the tracks offered, the data folder's too
      return CheckTrackFiles(line.trackFiles, out, err);
    case CommandLine::Action::ListTracks:
      LocateGameData();
      return ListTracks(out, err);
    case CommandLine::Action::Usage:
      if (line.arguments.empty() && line.badOption.starts_with("--") &&
          (line.badOption == "--export-ghost" || line.badOption == "--import-ghost")) {
        std::fprintf(err, "quillon: option '%s' needs its arguments\n",
                     TerminalText(line.badOption).c_str());
        std::fputs(UsageText().c_str(), err);
        return UsageExitCode;
      }
      std::fprintf(err, "quillon: unrecognized option '%s'\n",
                   TerminalText(line.badOption).c_str());
      std::fputs(UsageText().c_str(), err);
      return UsageExitCode;
  }
  return UsageExitCode;
}
