// Long random play: the whole game on the scripted window system, thousands of frames of random
// keys through every screen, races, display-mode toggles and restarts, watching GL errors each
// frame, GL names per context and the heap. QUILLON_SOAK_FRAMES and QUILLON_SOAK_SEED override
// the length and the seed (printed, so a failure can be replayed).
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "audited_game.h"
#include "content/content_generator.h"
#include "game/game_setup.h"
#include "platform/frame_flags.h"
#include "platform/keys.h"
#include "platform/scripted_window_system.h"
#include "race/race.h"
#include "support/autopilot.h"
#include "support/gl_name_audit.h"
#include "support/scratch_folder.h"
#include "track/track.h"

// AddressSanitizer, as gcc and as clang say it.
#if defined(__SANITIZE_ADDRESS__)
#define SOAK_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SOAK_UNDER_ASAN 1
#endif
#endif

#if defined(SOAK_UNDER_ASAN)
// The sanitizer runtime's own count (its allocator is not the one mallinfo2 describes).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

using platform::Message;
using platform::MessageKind;

uint64_t EnvNumber(const char* name, uint64_t fallback) {
  const char* text = std::getenv(name);
  return text && *text ? std::strtoull(text, nullptr, 10) : fallback;
}

// Bytes handed out by the allocator and not yet given back.
size_t HeapInUse() {
#if defined(SOAK_UNDER_ASAN)
  return __sanitizer_get_current_allocated_bytes();
#else
  struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
#endif
}

long PeakResidentKb() {
  std::ifstream status("/proc/self/status");
  std::string key;
  long value = 0;
  while (status >> key) {
    if (key == "VmHWM:" && status >> value) return value;
    status.ignore(256, '\n');
  }
  return 0;
}

// Plays the game: random key presses, holds and releases, now and then a resize or a
// minimise, and F1 every `toggleEvery` frames. Checks the GL error flag at every present.
class RandomPlayer : public platform::ScriptedWindowSystem {
 public:
  RandomPlayer(uint64_t seed, int frames, testing_support::ManualCalendar& calendar)
      : state_(seed * 2654435761u + 1), frames_(frames), calendar_(calendar) {}

  int frame = 0;
  int races = 0;
  int toggles = 0;
  std::vector<std::string> glErrors;
  size_t heapAt1000 = 0;
  size_t peakHeap = 0;  // sampled every 100 frames
  long peakKbAt1000 = 0;
  std::vector<size_t> heapSamples;  // first frame of each F1 window, from frame 1,000 on
  int toggleEvery = 2500;

  bool done() const { return frame >= frames_; }

  bool peekMessage(Message& m) override {
    m = Message{};
    if (done()) {
      m.kind = MessageKind::Quit;
      return true;
    }
    if (toggleDue_) {
      toggleDue_ = false;
      ++toggles;
      return key(m, MessageKind::KeyDown, VK_F1);
    }
    if (minimised_ && next(8) == 0) return activate(m, false);
    uint32_t roll = next(64);
    if (roll < 6) return randomKey(m);
    if (roll == 6 && next(40) == 0) {
      m.kind = MessageKind::Size;
      m.width = static_cast<int>(next(1000));
      m.height = static_cast<int>(next(800));
      return true;
    }
    if (roll == 7 && next(200) == 0) return activate(m, true);
    return false;
  }

  void present() override {
    for (GLenum e; (e = glGetError()) != GL_NO_ERROR;) noteError(e);
    if (gl()) gl()->swap();
    ++frame;
    if (frame % 60 == 0) calendar_.advance();
    if (ScreenState == screen::Race && lastScreen_ != 3) ++races;
    lastScreen_ = ScreenState;
    if (frame % toggleEvery == 0) toggleDue_ = true;
    if (frame % 10000 == 0) {
      std::printf("soak: frame %d, %d races, %d toggles, heap %zu KiB\n", frame, races, toggles,
                  HeapInUse() / 1024);
      std::fflush(stdout);
    }
    if (frame % 100 == 0) peakHeap = std::max(peakHeap, HeapInUse());
    if (frame == 1000) {
      heapAt1000 = HeapInUse();
      peakKbAt1000 = PeakResidentKb();
    }
    // The first frame of each window F1 re-creates is drawn in the same state every time (main
    // menu, everything loaded, no road built yet, same size of framebuffer): the heap there
    // must not creep up.
    if (windows.size() != windowsSeen_) {
      windowsSeen_ = windows.size();
      if (frame >= 1000 && windows.back().width == 640) heapSamples.push_back(HeapInUse());
      calls.clear();  // the scripted system's own record of calls is not the game's memory
    }
  }

  bool deleteContext() override {
    for (GLenum e; (e = glGetError()) != GL_NO_ERROR;) noteError(e);
    testing_support::GlAudit().forgetCurrentContext();
    return ScriptedWindowSystem::deleteContext();
  }

 private:
  uint32_t next(uint32_t n) {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 7;
    state_ ^= state_ << 17;
    return static_cast<uint32_t>(state_ % n);
  }

  bool key(Message& m, MessageKind kind, int code) {
    m.kind = kind;
    m.key = code;
    return true;
  }

  bool activate(Message& m, bool minimised) {
    minimised_ = minimised;
    m.kind = MessageKind::Activate;
    m.minimised = minimised;
    return true;
  }

  bool randomKey(Message& m) {
    static constexpr int Keys[] = {VK_UP,     VK_DOWN,  VK_LEFT, VK_RIGHT, VK_RETURN, VK_RETURN,
                                   VK_ESCAPE, VK_SPACE, '1',     '2',      'N',       'A'};
    int code = Keys[next(std::size(Keys))];
    // Escape leaves a race and quits from the main menu: rare enough that races run a while.
    if (code == VK_ESCAPE && next(ScreenState == screen::Race ? 60 : 6) != 0) code = VK_RETURN;
    if (!held_[code]) {
      held_[code] = true;
      return key(m, MessageKind::KeyDown, code);
    }
    if (next(2) == 0) return key(m, MessageKind::KeyDown, code);  // auto-repeat
    held_[code] = false;
    return key(m, MessageKind::KeyUp, code);
  }

  void noteError(GLenum e) {
    if (glErrors.size() < 10)
      glErrors.push_back("GL error " + std::to_string(e) + " at frame " + std::to_string(frame));
  }

  uint64_t state_;
  int frames_;
  testing_support::ManualCalendar& calendar_;
  bool held_[KeyCount] = {};
  bool minimised_ = false;
  bool toggleDue_ = false;
  int lastScreen_ = 0;
  size_t windowsSeen_ = 0;
};

TEST(Soak, RandomPlayThroughEveryScreenLeavesNoGlErrorStaleNameOrGrowingHeap) {
  const uint64_t seed = EnvNumber("QUILLON_SOAK_SEED", 20261207);
  const int frames = static_cast<int>(EnvNumber("QUILLON_SOAK_FRAMES", 2000));
  std::printf("soak: seed %llu, %d frames (QUILLON_SOAK_SEED, QUILLON_SOAK_FRAMES)\n",
              static_cast<unsigned long long>(seed), frames);

  testing_support::ScratchFolder folder;
  ASSERT_TRUE(content::GenerateContent((folder.path() / "Data").string()));
  testing_support::ManualCalendar calendar;
  testing_support::GlAudit().reset();
  testing_support::GlAudit().enabled = true;

  RandomPlayer player(seed, frames, calendar);
  player.toggleEvery = std::max(125, frames / 40);
  platform::SetWindowSystem(&player);
  int sessions = 0;
  const auto start = std::chrono::steady_clock::now();
  while (!player.done()) {
    // Every few sessions start full screen; Escape on the main menu ends a session.
    player.answer(sessions % 3 == 1 ? platform::Answer::Yes : platform::Answer::No);
    ClearKeyState();
    ASSERT_NE(app_testing::RunUnpaced(), 1) << "window creation failed, seed " << seed;
    ++sessions;
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  platform::SetWindowSystem(nullptr);

  // Program exit: the roster's and the tracks' models go with no context current.
  for (Car& car : CarRoster) car.model.clear();
  for (Track& track : TrackTable) track.banner.clear();
  testing_support::GlAudit().enabled = false;

  std::printf(
      "soak: %.0f frames/s, %d races, %d F1 re-creations, %d sessions; heap %zu KiB at frame "
      "1000, %zu KiB at the end; peak resident %ld KiB at frame 1000, %ld KiB at the end\n",
      frames / seconds, player.races, player.toggles, sessions, player.heapAt1000 / 1024,
      HeapInUse() / 1024, player.peakKbAt1000, PeakResidentKb());

  EXPECT_TRUE(player.glErrors.empty()) << player.glErrors.front() << ", seed " << seed;
  const auto& audit = testing_support::GlAudit();
  EXPECT_EQ(audit.faultCount, 0) << audit.faults.front() << ", seed " << seed;
  EXPECT_GT(player.races, 0);
  EXPECT_GT(player.toggles, 0);
  // Frames handed to the driver are finished, not left queued with the memory they hold.
  if (!player.heapSamples.empty()) {
    EXPECT_LT(player.peakHeap, 3 * player.heapSamples.front());
  }
  std::string samples;
  for (size_t bytes : player.heapSamples) samples += " " + std::to_string(bytes / 1024);
  std::printf("soak: heap KiB at each F1 window:%s\n", samples.c_str());
  // Only the race's list of car states may grow, by one record per race (vector doubling
  // allowed for). Some windows start with a few MB more held by the driver, so the floor of
  // the second half of the samples is compared with the floor of the first half.
  const auto& h = player.heapSamples;
  if (h.size() >= 2) {
    const size_t before = *std::min_element(h.begin(), h.begin() + h.size() / 2);
    const size_t after = *std::min_element(h.begin() + h.size() / 2, h.end());
    const size_t allowed = 2 * sizeof(CarState) * Races[0].cars.capacity() + 2 * 1024 * 1024;
    EXPECT_LE(after, before + allowed)
        << "heap grew from " << before << " to " << after << ", seed " << seed;
  }
}

}  // namespace
