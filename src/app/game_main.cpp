// Start question, main loop (messages, then one frame per idle iteration), F1 and F4, end.
#include "app/game_main.h"

#include <cstdio>
#include <cstdlib>  // defines __GLIBC__ on the GNU C library
#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "app/data_location.h"
#include "app/frame_pacer.h"
#include "app/game_window.h"
#include "app/screens.h"
#include "app/volume_display.h"
#include "assets/outline_font.h"
#include "game/game_setup.h"
#include "game/game_sounds.h"
#include "platform/box_answer_keys.h"
#include "platform/clock.h"
#include "platform/frame_flags.h"
#include "platform/keys.h"
#include "platform/message_box.h"
#include "platform/quit_signals.h"
#include "platform/sdl_window_system.h"
#include "platform/timeline.h"
#include "track/file_tracks.h"

namespace {

constexpr int KeyM = 0x4D;
// `-` and `=` beside Backspace, and the keypad's - and +.
constexpr int KeyMinus = 0xBD, KeyEquals = 0xBB, KeyPadMinus = 0x6D, KeyPadPlus = 0x6B;

// The sound output the game opens once its first frame is presented (GameMain's): its opening
// and the reading of the sounds then take nothing from the way to that frame.
std::unique_ptr<platform::SoundSystem> gSoundAfterFirstFrame;

// Swap interval 1 where the display runs at 60 Hz; the pacer holds 60 frames a second anyway.
void ChooseSwapInterval(platform::WindowSystem& ws) {
  int rate = ws.refreshRate();
  ws.setSwapInterval(rate >= 59 && rate <= 61 ? 1 : 0);
}

}  // namespace

int RunGame(FramePacer& pacer, StartWindow start) {
  auto& ws = platform::CurrentWindowSystem();
  QuitRequested = false;
#ifdef __GLIBC__
  // Pictures and their mipmap levels are blocks of hundreds of kilobytes that live only until
  // uploaded: a fixed threshold keeps them mapped apart and handed back when freed, where the
  // default (which rises with each freed block) would keep them in the heap for good.
  mallopt(M_MMAP_THRESHOLD, 256 * 1024);
  // One heap for every thread: the workers' small blocks (font shapes, model and track data)
  // would otherwise stay resident in a heap of their own each once freed.
  mallopt(M_ARENA_MAX, 1);
#endif
  // Whatever way this run ends, its reading of the track folders and its pictures end with it.
  struct ReadingDropped {
    ~ReadingDropped() {
      DropTrackFileReading();
      DropGameSetup();
    }
  } readingDropped;

  if (start == StartWindow::Ask) {
    auto answer =
        platform::ShowMessageBox("Would You Like To Run In Fullscreen Mode?", "Start FullScreen?",
                                 platform::Buttons::YesNo, platform::Icon::Question);
    if (answer != platform::Answer::Yes) Fullscreen = false;  // a box that failed counts as No
  } else {
    Fullscreen = start == StartWindow::Fullscreen;
  }

  platform::TimelineMark("start question answered");
  if (!CreateGameWindow(GameTitle, 800, 600, 32, Fullscreen)) return 1;
  ChooseSwapInterval(ws);

  int exitCode = 0;
  bool presented = false;
  platform::Message message;
  while (!QuitRequested) {
    // SIGTERM or SIGINT: the same end as F4, teardown and all.
    if (platform::QuitSignalled()) break;
    bool taken = ws.peekMessage(message);
    if (platform::DropAfterMessageBox(taken ? &message : nullptr, platform::MonotonicSeconds()))
      continue;
    if (taken) {
      if (message.kind == platform::MessageKind::Quit) {
        exitCode = message.code;
        QuitRequested = true;
        break;
      }
      WindowProc(message);
      continue;
    }

    if (Active) {
      if (KeyState[VK_F4]) {
        QuitRequested = true;
      } else if (const ScreenOps* screen = CurrentScreen()) {
        screen->draw();
      }
      DrawVolumeShown(platform::MonotonicSeconds());
    }
    SoundFrame();
    if (!presented) platform::TimelineMark("first frame drawn");
    ws.present();
    if (!presented) {
      platform::TimelineMark("first frame presented");
      if (gSoundAfterFirstFrame) StartGameSound(std::move(gSoundAfterFirstFrame));
      presented = true;
    }
    if (GameSetupUnfinished()) PrefetchGamePictures();
    pacer.frameDone();

    if (KeyState[VK_F1]) {
      KeyState[VK_F1] = false;
      DestroyGameWindow();
      if (!CreateGameWindow(ToggleTitle, 640, 480, 16, !Fullscreen)) return 1;
      ChooseSwapInterval(ws);
      pacer.reset();
    }
    // M switches the sound in every screen; no screen reads it.
    if (KeyState[KeyM]) {
      KeyState[KeyM] = false;
      ToggleSound();
    }
    // `-` and `=` step the volume in every screen, as M does.
    for (int key : {KeyMinus, KeyPadMinus})
      if (TakeKeyPress(key)) ChangeSoundVolume(-1);
    for (int key : {KeyEquals, KeyPadPlus})
      if (TakeKeyPress(key)) ChangeSoundVolume(+1);

    if (const ScreenOps* screen = CurrentScreen()) screen->input();
    // What the main menu does not draw loads behind its first frame: a step a frame once its
    // pictures are ready, or all at once when the player leaves the menu first. After the input,
    // so that a box of a broken picture never takes a key press that has not acted yet.
    if (!QuitRequested && presented && GameSetupUnfinished()) {
      if (ScreenState != screen::MainMenu)
        FinishGameSetup();
      else if (GameSetupReady())
        FinishGameSetupStep();
    }
  }

  DestroyGameWindow();
  return exitCode;
}

int PlayOn(platform::SdlWindowSystem& sdl, FramePacer& pacer, const CommandLine& line) {
  // Connected to the display from the start: the start question's box and the window then come
  // while the game already holds its connection. A start that finds no display (none at all, or
  // an X server resetting just then) has said so in one line and ends here. The video starts
  // before any worker of ours: it may start a process (D-Bus looking for its session bus), which
  // then waits for no job of theirs.
  if (!sdl.startVideo()) return 1;
  platform::TimelineMark("video started");
  platform::SetWindowSystem(&sdl);
  // The sound output opens and the sounds are read on a worker once the first frame is shown.
  MuteSoundForRun(line.mute);
  gSoundAfterFirstFrame = platform::MakeOpenAlSoundSystem();
  int code = RunGame(pacer, line.window);
  gSoundAfterFirstFrame.reset();
  platform::SetWindowSystem(nullptr);
  return code;
}

int GameMain(int argc, const char* const* argv) {
  const CommandLine line = ParseCommandLine(argc, argv);
  if (auto code = AnswerCommandLine(line, stdout, stderr)) return *code;
  LocateGameData();
  platform::InstallQuitSignals();
  platform::TimelineMark("command line read, data found");

  platform::SdlWindowSystem sdl;
  FramePacer pacer;
  int code = PlayOn(sdl, pacer, line);
  // Every way out comes here (F4, the close button, Escape on the main menu, SIGTERM, SIGINT):
  // the watchdog is armed before anything that could wait on a worker.
  platform::EndWithin(code);
  if (!StopGameSound()) platform::EndNow(code);
  return code;
}
