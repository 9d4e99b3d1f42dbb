// Frame pacing, start-up and memory figures of the real game window (run under a display, e.g.
// Xvfb):
//   bench_window game START_NS [SECONDS [SCREEN]]  frames presented, CPU use while paced, start
//       to first frame and peak resident memory, with the game's own loop answering No and
//       pressing F4 after SECONDS; SCREEN (menu, car, track or race) is reached by pressing Enter
//       before the measured time starts, and the race is driven with Up held. SCREEN race2 is a
//       race of two: player two joined before the start, Enter pressed until the race shows
//       (however many choices the car selection asks for), Up and W held
//   bench_window empty START_NS [SECONDS]          the same with a screen that draws nothing (the
//       loop presenting frames only)
//   bench_window bare START_NS [SECONDS [triangle]]  start to first frame of a bare SDL2 GL window
//       that only clears, then clearing and presenting at 60 Hz for SECONDS; peak resident memory.
//       With "triangle" every frame, the first included, also draws one small untextured
//       triangle: the least any drawing costs the renderer (starting its shader compiler), which
//       the clear alone never pays
// START_NS is the launch time in nanoseconds since the epoch (`date +%s%N`).
#include <GL/gl.h>
#include <SDL.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/frame_pacer.h"
#include "app/game_main.h"
#include "game/game_sounds.h"
#include "game/players.h"
#include "platform/box_answer_keys.h"
#include "platform/clock.h"
#include "platform/frame_flags.h"
#include "platform/keys.h"
#include "platform/message_box.h"
#include "platform/sdl_window_system.h"
#include "race/race_of_two.h"

namespace {

double NowSinceEpoch() {
  using namespace std::chrono;
  return duration<double>(system_clock::now().time_since_epoch()).count();
}

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec +
         usage.ru_stime.tv_usec / 1e6;
}

double PeakRssMb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024.0;
}

// When the key presses that lead to the chosen screen start, after the first frame: keys that
// come sooner are taken for the tail of the start question's answer and dropped.
constexpr double kKeysAfter = platform::BoxAnswerQuietSeconds + 0.2;
// Time allowed for reaching the chosen screen before the measured time starts.
constexpr double kSettleSeconds = kKeysAfter + 1.0;

// The SDL window system with a frame counter, the key presses that lead to the chosen screen
// (one per frame), and an F4 press once the run time is over.
class CountingWindowSystem : public platform::SdlWindowSystem {
 public:
  CountingWindowSystem(double seconds, bool empty, int enters, bool holdUp, bool two = false)
      : seconds_(seconds), empty_(empty), enters_(enters), holdUp_(holdUp), two_(two) {}
  void present() override {
    platform::SdlWindowSystem::present();
    if (empty_) ScreenState = 99;  // no screen: nothing drawn from the next frame on
    double now = platform::MonotonicSeconds();
    if (frames_ == 0) {
      firstFrameEpoch_ = NowSinceEpoch();
      firstFrame_ = now;
      cpuAtFirst_ = CpuSeconds();
    }
    if (settle() > 0 && startFrame_ < 0 && now - firstFrame_ >= settle()) {
      startFrame_ = frames_;
      firstFrame_ = now;
      cpuAtFirst_ = CpuSeconds();
    }
    ++frames_;
    if (now - firstFrame_ <= seconds_) framesInWindow_ = frames_ - std::max(0L, startFrame_);
  }
  bool peekMessage(platform::Message& message) override {
    // Keys start once the game has stopped watching for the tail of the start question's
    // answer; each Enter is pressed and released, one message a frame.
    const bool quiet = frames_ > 0 && platform::MonotonicSeconds() - firstFrame_ >= kKeysAfter;
    // A race of two: Enter again until the race shows.
    if (two_ && enters_ == 0 && !enterDown_ && ScreenState != screen::Race) enters_ = 1;
    if (quiet && frames_ > keyFrame_ && (enters_ > 0 || enterDown_ || holdUp_ || holdW_)) {
      keyFrame_ = frames_;
      message = platform::Message{};
      if (enterDown_) {
        message.kind = platform::MessageKind::KeyUp;
        message.key = VK_RETURN;
        enterDown_ = false;
      } else {
        message.kind = platform::MessageKind::KeyDown;
        message.key = enters_ > 0 ? VK_RETURN : holdUp_ ? VK_UP : 'W';
        if (enters_ > 0) {
          --enters_;
          enterDown_ = true;
        } else if (holdUp_) {
          holdUp_ = false;  // Up stays down: no key-up follows
        } else {
          holdW_ = false;  // and W, player two's accelerate
        }
      }
      return true;
    }
    if (frames_ > 0 && !quitSent_ && (settle() == 0 || startFrame_ >= 0) &&
        platform::MonotonicSeconds() - firstFrame_ >= seconds_) {
      quitSent_ = true;
      end_ = platform::MonotonicSeconds();
      cpuAtEnd_ = CpuSeconds();
      message = platform::Message{};
      message.kind = platform::MessageKind::KeyDown;
      message.key = VK_F4;
      return true;
    }
    return platform::SdlWindowSystem::peekMessage(message);
  }

  double settle() const { return navigates_ ? kSettleSeconds : 0.0; }

  double seconds_;
  bool empty_;
  int enters_;
  bool enterDown_ = false;
  bool holdUp_;
  bool two_;
  bool holdW_ = two_;
  bool navigates_ = enters_ > 0 || holdUp_;
  long keyFrame_ = 0;
  long startFrame_ = -1;
  long frames_ = 0;
  long framesInWindow_ = 0;
  bool quitSent_ = false;
  double firstFrame_ = 0, firstFrameEpoch_ = 0, end_ = 0, cpuAtFirst_ = 0, cpuAtEnd_ = 0;
};

int RunGameBench(double startEpoch, double seconds, bool empty, const std::string& screen) {
  platform::SetMessageBoxHandler(
      [](const std::string&, const std::string& caption, platform::Buttons, platform::Icon) {
        std::fprintf(stderr, "box: %s\n", caption.c_str());
        return platform::Answer::No;
      });
  const bool two = screen == "race2";
  const int enters = screen == "car" ? 1 : screen == "track" ? 2 : screen == "race" || two ? 3 : 0;
  if (two) Players[1].input = PlayerInput::Keyboard;
  CountingWindowSystem ws(seconds, empty, enters, screen == "race" || two, two);
  platform::SetWindowSystem(&ws);
  // QUILLON_BENCH_SOUND=1: with the sound started as the game starts it (ALSOFT_CONF chooses
  // the output), for the figures side by side with the game without it.
  const char* sound = std::getenv("QUILLON_BENCH_SOUND");
  if (sound != nullptr && sound[0] == '1') StartGameSound(platform::MakeOpenAlSoundSystem());
  FramePacer pacer;
  int code = RunGame(pacer);
  platform::SetWindowSystem(nullptr);
  double wall = ws.end_ - ws.firstFrame_;
  std::printf("game: exit code %d\n", code);
  std::printf("game: start to first presented frame %.1f ms\n",
              (ws.firstFrameEpoch_ - startEpoch) * 1000.0);
  std::printf("game: frames presented in %.0f s: %ld (%.2f per second)\n", seconds,
              ws.framesInWindow_, ws.framesInWindow_ / seconds);
  std::printf("game: CPU while paced: %.1f %% of a core\n",
              100.0 * (ws.cpuAtEnd_ - ws.cpuAtFirst_) / wall);
  std::printf("game: peak resident memory %.1f MB\n", PeakRssMb());
  if (two) std::printf("game: a race of two: %s\n", RaceOfTwo() ? "yes" : "no");
  StopGameSound();
  return code;
}

int RunBareBench(double startEpoch, double seconds, bool triangle) {
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
  SDL_Window* window = SDL_CreateWindow("bare", 0, 0, 800, 600, SDL_WINDOW_OPENGL);
  SDL_GLContext context = window ? SDL_GL_CreateContext(window) : nullptr;
  if (!context) return 1;
  const char* name = triangle ? "bare with a triangle" : "bare";
  auto drawTriangle = [triangle] {
    if (!triangle) return;
    glBegin(GL_TRIANGLES);
    glVertex2f(0.0f, 0.0f);
    glVertex2f(0.1f, 0.0f);
    glVertex2f(0.0f, 0.1f);
    glEnd();
  };
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  drawTriangle();
  SDL_GL_SwapWindow(window);
  double first = NowSinceEpoch();
  std::printf("%s: start to first presented frame %.1f ms\n", name, (first - startEpoch) * 1000.0);
  for (int frame = 0; frame < seconds * 60; ++frame) {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
    }
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawTriangle();
    SDL_GL_SwapWindow(window);
    SDL_Delay(16);
  }
  std::printf("%s: peak resident memory %.1f MB\n", name, PeakRssMb());
  SDL_GL_DeleteContext(context);
  SDL_DestroyWindow(window);
  SDL_Quit();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s game|empty|bare START_NS [SECONDS [SCREEN]]\n", argv[0]);
    return 2;
  }
  double startEpoch = std::strtod(argv[2], nullptr) / 1e9;
  double seconds = argc > 3 ? std::strtod(argv[3], nullptr) : 10.0;
  if (std::strcmp(argv[1], "bare") == 0) {
    return RunBareBench(startEpoch, argc > 3 ? seconds : 0,
                        argc > 4 && std::strcmp(argv[4], "triangle") == 0);
  }
  return RunGameBench(startEpoch, seconds, std::strcmp(argv[1], "empty") == 0,
                      argc > 4 ? argv[4] : "menu");
}
