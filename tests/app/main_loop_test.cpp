// The main loop and the window procedure, driven by the scripted window system: which
// iterations draw, present, toggle and read input, and how the loop ends.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "app/game_window.h"
#include "app/screens.h"
#include "audited_game.h"
#include "game/game_sounds.h"
#include "menu/main_menu.h"
#include "platform/frame_flags.h"
#include "platform/keys.h"
#include "platform/recording_sound_system.h"
#include "platform/scripted_window_system.h"
#include "support/scratch_folder.h"

namespace {

using app_testing::RunUnpaced;
using platform::Answer;
using platform::Message;
using platform::MessageKind;

// Records the screen operations the loop calls, in order.
std::vector<std::string> gEvents;
int gViewport[4];
platform::ScriptedWindowSystem* gScripted = nullptr;

class MainLoopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_.assign(Screens, Screens + ScreenCount);
    for (auto& s : Screens) s = {RecordDraw, RecordInput};
    gEvents.clear();
    ClearKeyState();
    Active = true;
    Fullscreen = true;
    platform::SetWindowSystem(&ws);
  }
  void TearDown() override {
    for (int i = 0; i < ScreenCount; ++i) Screens[i] = saved_[i];
    platform::SetWindowSystem(nullptr);
    ClearKeyState();
  }

  static void RecordDraw() {
    glGetIntegerv(GL_VIEWPORT, gViewport);
    gEvents.push_back("draw" + std::to_string(ScreenState));
  }
  static void RecordInput() { gEvents.push_back("input" + std::to_string(ScreenState)); }

  int count(const std::string& event) {
    return static_cast<int>(std::count(gEvents.begin(), gEvents.end(), event));
  }
  static Message activate(bool minimised) {
    Message m;
    m.kind = MessageKind::Activate;
    m.minimised = minimised;
    return m;
  }

  platform::ScriptedWindowSystem ws;
  std::vector<ScreenOps> saved_;
};

TEST_F(MainLoopTest, StartQuestionNoOrNoAnswerGivesAnEightHundredBySixHundredWindowAndCloseEndsIt) {
  for (Answer answer : {Answer::No, Answer::Failed}) {
    platform::ScriptedWindowSystem local;
    platform::SetWindowSystem(&local);
    local.answer(answer);
    local.send(Message{MessageKind::Close});
    local.idle(5);  // a close request ends the loop before these
    EXPECT_EQ(RunUnpaced(), 0);
    EXPECT_EQ(local.presents, 0);
    EXPECT_EQ(local.calls.back(), "unregisterClass");  // after the teardown
    ASSERT_EQ(local.windows.size(), 1u);
    EXPECT_EQ(local.windows[0].title, "Quillon: Game built with the Tarn Project");
    EXPECT_EQ(local.windows[0].width, 800);
    EXPECT_EQ(local.windows[0].height, 600);
    EXPECT_FALSE(local.windows[0].fullscreen);
    EXPECT_TRUE(local.displayModeBits.empty());
    EXPECT_EQ(local.boxes.at(0).text, "Would You Like To Run In Fullscreen Mode?");
    EXPECT_EQ(local.boxes[0].caption, "Start FullScreen?");
    EXPECT_FALSE(local.scriptExhausted);
  }
}

TEST_F(MainLoopTest, AStartWindowOptionSkipsTheQuestion) {
  for (bool fullscreen : {true, false}) {
    platform::ScriptedWindowSystem local;
    platform::SetWindowSystem(&local);
    Fullscreen = !fullscreen;
    local.send(Message{MessageKind::Close});
    EXPECT_EQ(RunUnpaced(fullscreen ? StartWindow::Fullscreen : StartWindow::Windowed), 0);
    EXPECT_TRUE(local.boxes.empty());
    ASSERT_EQ(local.windows.size(), 1u);
    EXPECT_EQ(local.windows[0].fullscreen, fullscreen);
  }
}

TEST_F(MainLoopTest, F4IsIgnoredWhileMinimisedAndActedOnAfterRestore) {
  ws.send(activate(true));
  ws.keyDown(VK_F4);
  ws.idle(3);
  ws.send(activate(false));
  ws.idle(1);
  EXPECT_EQ(RunUnpaced(), 0);
  EXPECT_FALSE(ws.scriptExhausted);  // F4 ended the loop at the first idle after restore
  EXPECT_EQ(count("draw0"), 0);
  EXPECT_EQ(ws.presents, 4);  // presented while minimised too
  EXPECT_EQ(count("input0"), 4);
}

TEST_F(MainLoopTest, MSwitchesTheSoundBeforeAnyScreenSeesItAndTheBackgroundSilencesIt) {
  testing_support::ScratchFolder scratch;  // the kept choice goes there
  auto output = std::make_unique<platform::RecordingSoundSystem>();
  platform::RecordingSoundSystem* sound = output.get();
  StartGameSound(std::move(output), true);
  ws.keyDown(0x4D);
  ws.idle(1);
  ws.send(Message{MessageKind::Close});
  RunUnpaced();
  EXPECT_FALSE(KeyState[0x4D]);  // taken by the loop
  EXPECT_FALSE(sound->audible());
  ToggleSound();
  Message away = activate(false);
  away.focused = false;
  WindowProc(away);
  EXPECT_FALSE(sound->audible());
  WindowProc(activate(false));
  EXPECT_TRUE(sound->audible());
  StopGameSound();
}

TEST_F(MainLoopTest, TheF4IterationPresentsTogglesAndReadsInputButDrawsNothing) {
  ws.keyDown(VK_F4);
  ws.keyDown(VK_F1);
  ws.idle(1);
  EXPECT_EQ(RunUnpaced(), 0);
  EXPECT_EQ(count("draw0"), 0);
  EXPECT_EQ(ws.presents, 1);
  EXPECT_EQ(ws.windows.size(), 2u);  // F1 still re-created the window
  EXPECT_EQ(gEvents, std::vector<std::string>{"input0"});
  EXPECT_FALSE(KeyState[VK_F1]);
}

TEST_F(MainLoopTest, F1TwiceGivesSixFortyByFourEightyWithTheModeInvertedEachTime) {
  ws.answer(Answer::No);
  ws.keyDown(VK_F1);
  ws.idle(1);
  ws.keyDown(VK_F1);
  ws.idle(1);
  ws.send(Message{MessageKind::Close});
  EXPECT_EQ(RunUnpaced(), 0);
  ASSERT_EQ(ws.windows.size(), 3u);
  for (int i = 1; i < 3; ++i) {
    EXPECT_EQ(ws.windows[i].title, "Dovi's OpenGL Framework");
    EXPECT_EQ(ws.windows[i].width, 640);
    EXPECT_EQ(ws.windows[i].height, 480);
  }
  EXPECT_FALSE(ws.windows[0].fullscreen);
  EXPECT_TRUE(ws.windows[1].fullscreen);
  EXPECT_FALSE(ws.windows[2].fullscreen);
  EXPECT_EQ(ws.displayModeBits, std::vector<int>{16});
  // The pixel format still asks for 32 colour bits and 16 depth bits after a 16-bit mode.
  EXPECT_EQ(ws.lastPixelFormatColourBits, 32);
  EXPECT_EQ(ws.lastPixelFormatDepthBits, 16);
}

TEST_F(MainLoopTest, F1ReturnsToTheMainMenu) {
  ws.idle(1);
  ws.keyDown(VK_F1);
  ws.idle(1);
  ws.send(Message{MessageKind::Close});
  Screens[0].input = [] {
    gEvents.push_back("input" + std::to_string(ScreenState));
    ScreenState = screen::TrackSelection;
  };
  Screens[2].input = [] { gEvents.push_back("input2"); };
  RunUnpaced();
  // The first idle moved to screen 2; the F1 iteration drew screen 2, re-created the window
  // (back to screen 0) and then read screen 0's input.
  EXPECT_EQ(gEvents, (std::vector<std::string>{"draw0", "input0", "draw2", "input0"}));
}

TEST_F(MainLoopTest, AQuitMessageEndsTheLoopBeforeAnyFurtherDrawing) {
  ws.idle(1);
  ws.send(Message{MessageKind::Quit, 0, false, 0, 0, 7});
  ws.idle(5);
  EXPECT_EQ(RunUnpaced(), 7);
  EXPECT_EQ(count("draw0"), 1);
  EXPECT_EQ(ws.presents, 1);
}

TEST_F(MainLoopTest, AScreenStateOutsideTheTableDrawsAndReadsNothing) {
  Screens[0].input = [] { ScreenState = ScreenCount; };
  ws.idle(4);
  ws.send(Message{MessageKind::Close});
  RunUnpaced();
  EXPECT_EQ(count("draw0"), 1);
  EXPECT_EQ(gEvents.size(), 1u);
  EXPECT_EQ(ws.presents, 4);
}

TEST_F(MainLoopTest, ThirtyTwoBitFullScreenKeepsThePictureShapeAndAViewportIsNeverEmpty) {
  struct Case {
    bool fullscreen;
    int width, height;
    int viewport[4];
  } cases[] = {
      {true, 1280, 720, {160, 0, 960, 720}},    // pillars on a wide screen
      {true, 1000, 1000, {0, 125, 1000, 750}},  // bars above and below on a tall one
      {true, 1600, 1200, {0, 0, 1600, 1200}},   // the same shape fills it
      {false, 1280, 720, {0, 0, 1280, 720}},    // a window uses all of its area
      {false, 300, 0, {0, 0, 300, 1}},          // height zero counts as one
  };
  for (const Case& c : cases) {
    platform::ScriptedWindowSystem local;
    platform::SetWindowSystem(&local);
    local.answer(c.fullscreen ? Answer::Yes : Answer::No);
    local.send(Message{MessageKind::Size, 0, false, c.width, c.height});
    local.idle(1);
    local.send(Message{MessageKind::Close});
    RunUnpaced();
    for (int i = 0; i < 4; ++i)
      EXPECT_EQ(gViewport[i], c.viewport[i]) << c.width << "x" << c.height;
    // Yes to the start question: a 32-bit full-screen mode without the cursor, shown again
    // when the mode is restored.
    EXPECT_EQ(local.windows.at(0).fullscreen, c.fullscreen);
    EXPECT_EQ(local.displayModeBits, std::vector<int>(c.fullscreen, 32));
    const auto hidden = std::count(local.calls.begin(), local.calls.end(), "hideCursor");
    EXPECT_EQ(hidden, c.fullscreen ? 1 : 0);
    EXPECT_TRUE(local.cursorShown);
  }
}

TEST_F(MainLoopTest, KeysReachTheKeyStateButSystemKeysAndBadCodesDoNot) {
  ws.keyDown('N');
  ws.send(Message{MessageKind::SysKeyDown, VK_F10});
  ws.send(Message{MessageKind::KeyDown, 300});
  ws.send(Message{MessageKind::KeyDown, -1});
  ws.keyDown(VK_UP);
  ws.idle(1);         // the screen consumes Up
  ws.keyDown(VK_UP);  // and an auto-repeat sets it again
  ws.send(Message{MessageKind::Close});
  Screens[0].input = [] { KeyState[VK_UP] = false; };
  RunUnpaced();
  EXPECT_TRUE(KeyState['N']);
  EXPECT_FALSE(KeyState[VK_F10]);
  EXPECT_TRUE(KeyState[VK_UP]);
}

TEST_F(MainLoopTest, TheScreenSaverIsHeldOffWhileTheGameRuns) {
  ws.send(Message{MessageKind::ScreenSave});
  ws.idle(1);
  ws.send(Message{MessageKind::Close});
  gScripted = &ws;
  Screens[0].draw = [] { gEvents.push_back(gScripted->screenSaverInhibited ? "held" : "free"); };
  RunUnpaced();
  EXPECT_EQ(gEvents.front(), "held");
  EXPECT_FALSE(ws.screenSaverInhibited);  // released at teardown
}

TEST_F(MainLoopTest, TheEnterThatAnsweredABoxDoesNotAlsoStartAGame) {
  // The start question alone, then with an error box about a damaged picture after it.
  for (bool damaged : {false, true}) {
    SCOPED_TRACE(damaged ? "error box" : "start question");
    testing_support::ScratchFolder folder;
    if (damaged) std::ofstream("Data/menuMain.bmp") << "junk";
    platform::ScriptedWindowSystem local;
    platform::SetWindowSystem(&local);
    gEvents.clear();
    Screens[0].input = MainMenuInput;
    local.answer(Answer::Yes);
    local.keyDown(VK_RETURN);  // still held as the box closes, then its auto-repeat
    local.idle(2);
    local.keyDown(VK_RETURN);
    local.idle(1);
    local.keyUp(VK_RETURN);  // a fresh press afterwards starts a game
    local.keyDown(VK_RETURN);
    local.idle(1);
    local.send(Message{MessageKind::Close});
    RunUnpaced();
    EXPECT_EQ(local.boxes.size(), damaged ? 2u : 1u);
    EXPECT_EQ(count("draw0"), 4);
    EXPECT_EQ(ScreenState, 1);
  }
}

TEST_F(MainLoopTest, TheMainMenuShowsFirstAndTheRestLoadsBeforeAnyOtherScreen) {
  // A damaged car-menu picture shows when the rest of the setup loads: its box.
  testing_support::ScratchFolder folder;
  std::ofstream("Data/menuCar.bmp") << "junk";
  gScripted = &ws;
  Screens[0].draw = [] {
    gEvents.push_back("draw0 boxes " + std::to_string(gScripted->boxes.size()));
  };
  Screens[0].input = [] { ScreenState = screen::CarSelection; };
  Screens[1].draw = [] {
    gEvents.push_back("draw1 boxes " + std::to_string(gScripted->boxes.size()));
  };
  ws.answer(Answer::No);
  ws.idle(2);
  ws.send(Message{MessageKind::Close});
  RunUnpaced();
  // The start question, then the first frame, then the damaged picture's box.
  EXPECT_EQ(gEvents, (std::vector<std::string>{"draw0 boxes 1", "draw1 boxes 2", "input1"}));
}

}  // namespace
