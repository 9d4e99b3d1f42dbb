// Window creation and teardown: each failing step's message, the full-screen fallback
// question, and the teardown that always runs to its end.
#include <gtest/gtest.h>

#include "app/game_window.h"
#include "audited_game.h"
#include "platform/frame_flags.h"
#include "platform/scripted_window_system.h"

namespace {

using platform::Answer;

class GameWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Fullscreen = true;
    platform::SetWindowSystem(&ws);
  }
  void TearDown() override { platform::SetWindowSystem(nullptr); }

  std::vector<std::string> captionsAndTexts() {
    std::vector<std::string> out;
    for (auto& b : ws.boxes) out.push_back(b.caption + "|" + b.text);
    return out;
  }

  platform::ScriptedWindowSystem ws;
};

TEST_F(GameWindowTest, ARefusedFullScreenModeAnsweredYesGivesAWindow) {
  ws.failing.insert("changeDisplayMode");
  ws.answer(Answer::Yes);
  ASSERT_TRUE(CreateGameWindow("t", 800, 600, 32, true));
  EXPECT_FALSE(Fullscreen);
  ASSERT_EQ(ws.windows.size(), 1u);
  EXPECT_FALSE(ws.windows[0].fullscreen);
  EXPECT_EQ(ws.windows[0].width, 800);
  EXPECT_TRUE(ws.cursorShown);
  ASSERT_EQ(ws.boxes.size(), 1u);
  EXPECT_EQ(ws.boxes[0].caption, "Dovi GL");
  EXPECT_EQ(ws.boxes[0].text,
            "The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use Windowed "
            "Mode Instead?");
  DestroyGameWindow();
}

TEST_F(GameWindowTest, ARefusedFullScreenModeAnsweredNoClosesTheProgram) {
  ws.failing.insert("changeDisplayMode");
  ws.answer(Answer::Yes);  // the start question
  ws.answer(Answer::No);   // the fallback question
  EXPECT_EQ(app_testing::RunUnpaced(), 1);
  EXPECT_TRUE(ws.windows.empty());
  ASSERT_EQ(ws.boxes.size(), 3u);
  EXPECT_EQ(ws.boxes[2].caption, "ERROR");
  EXPECT_EQ(ws.boxes[2].text, "Program Will Now Close.");
  EXPECT_EQ(ws.boxes[2].icon, platform::Icon::Stop);
}

TEST_F(GameWindowTest, EachFailedCreationStepShowsItsMessageAfterTheTeardown) {
  struct Case {
    const char* step;
    const char* message;
  } cases[] = {
      {"registerClass", "Failed To Register The Window Class."},
      {"createWindow", "Window Creation Error."},
      {"getDeviceContext", "Can't Create A GL Device Context."},
      {"choosePixelFormat", "Can't Find A Suitable PixelFormat."},
      {"setPixelFormat", "Can't Set The PixelFormat."},
      {"createContext", "Can't Create A GL Rendering Context."},
      {"makeCurrent", "Can't Activate The GL Rendering Context."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.step);
    platform::ScriptedWindowSystem local;
    platform::SetWindowSystem(&local);
    local.failing.insert(c.step);
    EXPECT_FALSE(CreateGameWindow("t", 800, 600, 32, false));
    ASSERT_EQ(local.boxes.size(), 1u);
    EXPECT_EQ(local.boxes[0].caption, "ERROR");
    EXPECT_EQ(local.boxes[0].text, c.message);
    EXPECT_EQ(local.boxes[0].icon, platform::Icon::Exclamation);
    bool toreDown =
        std::find(local.calls.begin(), local.calls.end(), "unregisterClass") != local.calls.end();
    // Registering failed: nothing to tear down. Any later step: the teardown ran first.
    EXPECT_EQ(toreDown, std::string(c.step) != "registerClass");
    if (toreDown) {
      auto box = std::find(local.calls.begin(), local.calls.end(), "messageBox:ERROR");
      auto unreg = std::find(local.calls.begin(), local.calls.end(), "unregisterClass");
      EXPECT_LT(unreg - local.calls.begin(), box - local.calls.begin());
    }
  }
  platform::SetWindowSystem(&ws);
}

TEST_F(GameWindowTest, TeardownReportsEveryFailureAndStillRunsToTheEnd) {
  ASSERT_TRUE(CreateGameWindow("t", 800, 600, 32, true));
  ws.failing = {"detachContext", "deleteContext", "releaseDeviceContext", "destroyWindow",
                "unregisterClass"};
  ws.boxes.clear();
  DestroyGameWindow();
  std::vector<std::string> expected = {
      "SHUTDOWN ERROR|Release Of DC And RC Failed.",
      "SHUTDOWN ERROR|Release Rendering Context Failed.",
      "SHUTDOWN ERROR|Release Device Context Failed.",
      "SHUTDOWN ERROR|Could Not Release hWnd.",
      "SHUTDOWN ERROR|Could Not Unregister Class.",
  };
  EXPECT_EQ(captionsAndTexts(), expected);
  EXPECT_EQ(ws.boxes[0].icon, platform::Icon::Information);
  // The display mode was restored first and the cursor shown again.
  auto restore = std::find(ws.calls.begin(), ws.calls.end(), "restoreDisplayMode");
  EXPECT_NE(restore, ws.calls.end());
  EXPECT_TRUE(ws.cursorShown);
}

}  // namespace
