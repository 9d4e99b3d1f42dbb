// Frame pacing, start-up and memory figures of the real game window (run under a display, e.g.
// Xvfb):
//   bench_window game START_NS [SECONDS [SCREEN]]  frames presented, CPU use while paced, start
//       to first frame and peak resident memory, the game started as a player starts it (the
//       video, then the game's own loop, the sound opened after the first frame; ALSOFT_CONF
//       chooses the output), the start question answered No and F4 pressed after SECONDS; SCREEN
//       (menu, car, track or race) is reached by pressing Enter before the measured time starts,
//       and the race is driven with Up held. SCREEN race2 is a race of two: player two joined
//       before the start, Enter pressed until the race shows (however many choices the car
//       selection asks for), Up and W held
//   bench_window empty START_NS [SECONDS]          the same with a screen that draws nothing (the
//       loop presenting frames only)
//   bench_window bare START_NS [SECONDS [triangle|picture]]  start to first frame of a bare SDL2
//       GL window that only clears, then clearing and presenting at 60 Hz for SECONDS; CPU while
//       paced and peak resident memory. With "triangle" every frame, the first included, also
//       draws one small untextured triangle: the least any drawing costs the renderer (starting
//       its shader compiler), which the clear alone never pays. With "picture" it draws one
//       256 by 256 picture over the whole window instead, tinted anew each frame: the floor the
//       game's main menu is measured against
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

#include <vector>

#include "app/command_line.h"
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
#include "platform/timeline.h"
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
  FramePacer pacer;
  int code = PlayOn(ws, pacer, CommandLine{});
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

// The floor's picture: 256 by 256, a smooth gradient, linearly filtered, one level.
GLuint MakeFloorPicture() {
  constexpr int Side = 256;
  std::vector<unsigned char> pixels(Side * Side * 3);
  for (int y = 0; y < Side; ++y)
    for (int x = 0; x < Side; ++x) {
      unsigned char* p = &pixels[size_t(y * Side + x) * 3];
      p[0] = static_cast<unsigned char>(x), p[1] = static_cast<unsigned char>(y);
      p[2] = static_cast<unsigned char>((x + y) / 2);
    }
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, Side, Side, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
  return texture;
}

int RunBareBench(double startEpoch, double seconds, const std::string& drawing) {
  const bool triangle = drawing == "triangle", picture = drawing == "picture";
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
  platform::TimelineMark("video started");
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
  SDL_Window* window = SDL_CreateWindow("bare", 0, 0, 800, 600, SDL_WINDOW_OPENGL);
  platform::TimelineMark("window made");
  SDL_GLContext context = window ? SDL_GL_CreateContext(window) : nullptr;
  if (!context) return 1;
  platform::TimelineMark("context current");
  const char* name = triangle ? "bare with a triangle" : picture ? "floor" : "bare";
  const GLuint texture = picture ? MakeFloorPicture() : 0;
  float tint = 1.0f;
  auto draw = [&] {
    if (triangle) {
      glBegin(GL_TRIANGLES);
      glVertex2f(0.0f, 0.0f);
      glVertex2f(0.1f, 0.0f);
      glVertex2f(0.0f, 0.1f);
      glEnd();
    }
    if (picture) {
      glEnable(GL_TEXTURE_2D);
      glBindTexture(GL_TEXTURE_2D, texture);
      glColor3f(tint, 1.0f - (1.0f - tint) / 2, 1.0f);
      tint = tint > 0.5f ? tint - 0.0005f : 1.0f;
      glBegin(GL_QUADS);
      glTexCoord2f(0, 0), glVertex2f(-1, -1);
      glTexCoord2f(1, 0), glVertex2f(1, -1);
      glTexCoord2f(1, 1), glVertex2f(1, 1);
      glTexCoord2f(0, 1), glVertex2f(-1, 1);
      glEnd();
    }
  };
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  draw();
  SDL_GL_SwapWindow(window);
  double first = NowSinceEpoch();
  platform::TimelineMark("first frame presented");
  std::printf("%s: start to first presented frame %.1f ms\n", name, (first - startEpoch) * 1000.0);
  FramePacer pacer;
  const double cpuAtFirst = CpuSeconds(), paceStart = platform::MonotonicSeconds();
  for (int frame = 0; frame < seconds * 60; ++frame) {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
    }
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    draw();
    SDL_GL_SwapWindow(window);
    pacer.frameDone();
  }
  if (seconds > 0)
    std::printf("%s: CPU while paced: %.1f %% of a core\n", name,
                100.0 * (CpuSeconds() - cpuAtFirst) / (platform::MonotonicSeconds() - paceStart));
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
  platform::StartTimeline();
  double startEpoch = std::strtod(argv[2], nullptr) / 1e9;
  double seconds = argc > 3 ? std::strtod(argv[3], nullptr) : 10.0;
  if (std::strcmp(argv[1], "bare") == 0) {
    return RunBareBench(startEpoch, argc > 3 ? seconds : 0, argc > 4 ? argv[4] : "");
  }
  return RunGameBench(startEpoch, seconds, std::strcmp(argv[1], "empty") == 0,
                      argc > 4 ? argv[4] : "menu");
}
