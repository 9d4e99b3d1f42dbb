// Frame times of every screen at 800 by 600 in the headless context, next to a frame that only
// clears, measured in interleaved rounds so that a busy machine slows all of them alike. Run from
// the folder that holds Data/; prints mean and worst wall and process CPU time (the renderer's
// threads included) per frame.
#include <GL/gl.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "assets/outline_font.h"
#include "bench_context.h"
#include "game/game_setup.h"
#include "game/players.h"
#include "menu/car_selection.h"
#include "menu/main_menu.h"
#include "menu/menu_drawing.h"
#include "menu/track_selection.h"
#include "platform/clock.h"
#include "platform/message_box.h"
#include "race/race.h"
#include "race/race_of_two.h"
#include "race/race_screen.h"
#include "race/race_start.h"

namespace {

double CpuMs() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double WallMs() {
  using namespace std::chrono;
  return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

struct Screen {
  const char* name;
  void (*draw)();
  std::vector<double> wall, cpu;
};

std::time_t Now = 1'000'000;

// Starts a race of one or two players when the other kind is under way (in the first, uncounted
// frame of a round), past its countdown. Player two stands half a unit ahead of the grid, where
// player one's half shows their car; player one is behind player two's eye.
int RacePlayers = 1;
void UseRaceOf(int players) {
  if (players == RacePlayers) return;
  RacePlayers = players;
  Players[1].input = players == 2 ? PlayerInput::Keyboard : PlayerInput::None;
  StartSelectedRace();
  if (players == 2) Races[1].player->position.x += 0.5f;
  Now += 5;
}

void DrawRace(int16_t view, int players = 1) {
  UseRaceOf(players);
  Races[0].view = Races[1].view = view;
  DrawRaceScreen();
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = 6, framesPerRound = argc > 1 ? std::atoi(argv[1]) : 50;
  LoadGameQuietly();
  platform::SetCalendarClock([] { return Now; });
  StartSelectedRace();
  Now += 5;  // past the countdown: race frames run the simulation step and the running texts

  std::vector<Screen> screens = {
      {"clear only", [] { glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); }, {}, {}},
      // The least any menu frame asks of the renderer: the clear and one tinted full-window
      // picture, filtered as the game draws it.
      {"menu picture alone",
       [] {
         glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
         glLoadIdentity();
         glTranslatef(0.0f, 0.0f, -4.2f);
         DrawMenuBackground(MenuMainTexture);
       },
       {},
       {}},
      {"main menu", DrawMainMenu, {}, {}},
      {"car selection", DrawCarSelection, {}, {}},
      {"track selection", DrawTrackSelection, {}, {}},
      {"race, chase view", [] { DrawRace(Race::ChaseView); }, {}, {}},
      {"race, driver view", [] { DrawRace(Race::DriverView); }, {}, {}},
      {"race of two, chase", [] { DrawRace(Race::ChaseView, 2); }, {}, {}},
      {"race of two, driver", [] { DrawRace(Race::DriverView, 2); }, {}, {}},
  };
  for (int round = 0; round < rounds; ++round) {
    for (Screen& screen : screens) {
      screen.draw();  // the first frame after a switch settles the GL state; not counted
      glFinish();
      for (int i = 0; i < framesPerRound; ++i) {
        const double wall = WallMs(), cpu = CpuMs();
        screen.draw();
        glFinish();
        screen.wall.push_back(WallMs() - wall);
        screen.cpu.push_back(CpuMs() - cpu);
      }
    }
  }
  auto mean = [](const std::vector<double>& v) {
    double sum = 0;
    for (double x : v) sum += x;
    return sum / v.size();
  };
  std::printf("%-20s %7s %10s %10s %10s %10s\n", "frame at 800x600", "frames", "wall mean",
              "wall worst", "CPU mean", "CPU worst");
  for (const Screen& s : screens) {
    std::printf("%-20s %7zu %7.2f ms %7.2f ms %7.2f ms %7.2f ms\n", s.name, s.wall.size(),
                mean(s.wall), *std::max_element(s.wall.begin(), s.wall.end()), mean(s.cpu),
                *std::max_element(s.cpu.begin(), s.cpu.end()));
  }
  // The race of two against the race alone, view by view (the last four screens).
  const size_t n = screens.size();
  for (size_t i = n - 4; i < n - 2; ++i) {
    std::printf("%s against %s: wall %.2f times, CPU %.2f times\n", screens[i + 2].name,
                screens[i].name, mean(screens[i + 2].wall) / mean(screens[i].wall),
                mean(screens[i + 2].cpu) / mean(screens[i].cpu));
  }
  return 0;
}
