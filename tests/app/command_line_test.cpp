// The command line: which arguments play, print or fail, and what each answer prints and returns.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "support/command_output.h"

namespace {

CommandLine Parse(std::vector<const char*> args) {
  args.insert(args.begin(), "quillon");
  return ParseCommandLine(static_cast<int>(args.size()), args.data());
}

TEST(CommandLineTest, OptionsGiveTheirActionAndStartWindow) {
  using A = CommandLine::Action;
  struct Case {
    std::vector<const char*> args;
    A action;
    StartWindow window;
  } cases[] = {
      {{}, A::Play, StartWindow::Ask},
      {{"--fullscreen"}, A::Play, StartWindow::Fullscreen},
      {{"--windowed"}, A::Play, StartWindow::Windowed},
      {{"--fullscreen", "--windowed"}, A::Play, StartWindow::Windowed},
      {{"--help"}, A::Help, StartWindow::Ask},
      {{"--windowed", "--version"}, A::Version, StartWindow::Windowed},
      {{"--records"}, A::Records, StartWindow::Ask},
      {{"--bogus"}, A::Usage, StartWindow::Ask},
      {{"--help", "extra"}, A::Usage, StartWindow::Ask},
      {{"-windowed"}, A::Usage, StartWindow::Ask},
      {{""}, A::Usage, StartWindow::Ask},
  };
  for (const Case& c : cases) {
    CommandLine line = Parse(c.args);
    SCOPED_TRACE(c.args.empty() ? "(none)" : c.args.back());
    EXPECT_EQ(line.action, c.action);
    EXPECT_EQ(line.window, c.window);
  }
  EXPECT_EQ(Parse({"--windowed", "--bogus", "--help"}).badOption, "--bogus");
  // The ghost options take what follows them: three for export, one or more files for import.
  EXPECT_EQ(Parse({"--export-ghost", "Sunny", "SMiLE", "f"}).action, A::ExportGhost);
  EXPECT_EQ(Parse({"--export-ghost", "Sunny", "SMiLE", "f"}).arguments,
            (std::vector<std::string>{"Sunny", "SMiLE", "f"}));
  EXPECT_EQ(Parse({"--export-ghost", "Sunny", "SMiLE"}).action, A::Usage);
  EXPECT_EQ(Parse({"--export-ghost", "Sunny", "SMiLE", "f", "g"}).action, A::Usage);
  EXPECT_EQ(Parse({"--import-ghost"}).action, A::Usage);
  EXPECT_EQ(Parse({"--mute", "--import-ghost", "a", "--help"}).arguments,
            (std::vector<std::string>{"a", "--help"}));
  EXPECT_FALSE(Parse({"--windowed"}).mute);
  EXPECT_TRUE(Parse({"--mute", "--windowed"}).mute);
}

// AnswerCommandLine's exit code (-1: play), filling what went to each file.
int Answer(const CommandLine& line, std::string& out, std::string& err) {
  return testing_support::Printed(
      [&](std::FILE* o, std::FILE* e) { return AnswerCommandLine(line, o, e).value_or(-1); }, out,
      err);
}

TEST(CommandLineTest, HelpAndVersionPrintAndEndWithZeroAnUnknownOptionWithTwo) {
  std::string out, err;
  EXPECT_EQ(Answer(Parse({"--help"}), out, err), 0);
  EXPECT_EQ(out, UsageText());
  EXPECT_TRUE(err.empty());
  EXPECT_EQ(Answer(Parse({"--version"}), out, err), 0);
  EXPECT_EQ(out.rfind("quillon ", 0), 0u);
  EXPECT_EQ(Answer(Parse({"--nope"}), out, err), UsageExitCode);
  EXPECT_TRUE(out.empty());
  EXPECT_NE(err.find("'--nope'"), std::string::npos);
  EXPECT_NE(err.find(UsageText()), std::string::npos);
  EXPECT_EQ(Answer(Parse({"--windowed"}), out, err), -1);
  EXPECT_TRUE(out.empty());
  EXPECT_TRUE(err.empty());
}

std::string SourceFile(const char* name) {
  std::ifstream file(std::filesystem::path(QUILLON_SOURCE_DIR) / name);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

TEST(CommandLineTest, TheManualPageAndTheReadmeDescribeEveryOptionOfTheHelp) {
  const std::string manual = SourceFile("dist/quillon.6.in"), readme = SourceFile("README.md");
  const size_t from = manual.find("\n.SH OPTIONS\n");
  ASSERT_NE(from, std::string::npos);
  const std::string options = manual.substr(from, manual.find("\n.SH ", from + 1) - from);
  std::istringstream help(UsageText());
  int count = 0;
  for (std::string line; std::getline(help, line);) {
    if (!line.starts_with("  --")) continue;
    const std::string option = line.substr(2, line.find(' ', 2) - 2);
    std::string roff;  // the manual's source writes each '-' as "\-"
    for (char c : option) roff += c == '-' ? std::string("\\-") : std::string(1, c);
    EXPECT_TRUE(options.find("\n.B " + roff + "\n") != std::string::npos ||
                options.find("\n.BI " + roff + " ") != std::string::npos)
        << option;
    EXPECT_NE(readme.find("`" + option), std::string::npos) << option;
    ++count;
  }
  EXPECT_GE(count, 10);
}

}  // namespace
