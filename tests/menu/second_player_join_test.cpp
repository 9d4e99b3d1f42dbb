// Player two on the car selection: joining with their own accelerate (keyboard or second pad),
// leaving by their brake held a second or their pad's Back, the cars chosen in turn, the line
// naming who joined clear of the name, arrows and car, and the screen as ever with nobody joined.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <vector>

#include "assets/outline_font.h"
#include "content/content_generator.h"
#include "game/controls.h"
#include "game/players.h"
#include "menu/menu_drawing.h"
#include "menu/second_player_join.h"
#include "menu_fixture.h"
#include "platform/key_names.h"
#include "platform/scripted_window_system.h"

namespace {

// Records what the game tells the window system about the pads.
class PadKeeping : public platform::ScriptedWindowSystem {
 public:
  void setPadsKeepPlayers(bool keep) override { kept.push_back(keep); }
  std::vector<bool> kept;
};

class SecondPlayerTest : public menu_testing::MenuTest {
 protected:
  void SetUp() override {
    MenuTest::SetUp();
    GameControls().reset();
    GameControls(2).reset();
    SetSecondPlayer(SecondPlayer::None);
    CarChooser = 1;
    ScreenState = 1;
  }
  void TearDown() override {
    SetSecondPlayer(SecondPlayer::None);
    CarChooser = 1;
    platform::SetWindowSystem(nullptr);
    MenuTest::TearDown();
  }
  // One frame with these keys pressed and let go again.
  void tap(std::initializer_list<int> keys) {
    for (int key : keys) KeyState[key] = true;
    CarSelectionInput();
    for (int key : keys) KeyState[key] = false;
  }
  // Frames with a key held down throughout, then a frame with it let go.
  void hold(int key, int frames) {
    for (int i = 0; i < frames; ++i) {
      KeyState[key] = true;
      CarSelectionInput();
    }
    KeyState[key] = false;
    CarSelectionInput();
  }
  // The shipped cars and pictures, as the game finds them in Data/.
  void loadContent() {
    for (const auto& file : content::BuildContent()) {
      const auto path = std::filesystem::path("Data") / file.name;
      std::filesystem::create_directories(path.parent_path());
      std::ofstream(path, std::ios::binary)
          .write(reinterpret_cast<const char*>(file.bytes.data()),
                 static_cast<std::streamsize>(file.bytes.size()));
    }
    GameSetup();
    for (int car = 0; car <= LastSelectableCar; ++car)
      ASSERT_NE(CarRoster[car].model.displayList, 0u);
  }
  std::vector<unsigned char> carFrame(float spin, void (*draw)() = DrawCarSelection) {
    SpinAngle = spin;
    MenuTint = {1.0f, 1.0f, 1.0f};
    draw();
    glFinish();
    return framebuffer();
  }
};

// The car selection as it was drawn before player two could join.
void DrawCarSelectionForOnePlayer() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  glTranslatef(0.7f, 0.25f, -4.2f);
  DrawMenuBackground(MenuCarTexture);
  glTranslatef(-0.09f, -0.59f, 1.2f);
  glRotatef(90.0f, 0.0f, 0.0f, 1.0f);
  glScalef(0.05f, 0.05f, 0.05f);
  DrawSelectionArrows();
  glLoadIdentity();
  glColor3f(1.0f, 1.0f, 1.0f);
  glTranslatef(-0.3f, 0.05f, -1.2f);
  glRotatef(-25.0f, 0.0f, 0.0f, 1.0f);
  glRotatef(25.0f, 1.0f, 0.0f, 0.0f);
  glRotatef(SpinAngle, 0.0f, 1.0f, 0.0f);
  glScalef(0.008f, 0.008f, 0.008f);
  if (SelectedCar->model.displayList != 0) glCallList(SelectedCar->model.displayList);
  glLoadIdentity();
  glColor3f(0.0f, 0.5f, 0.5f);
  glDisable(GL_DEPTH_TEST);
  glTranslatef(0.0f, -1.2f, -3.0f);
  glRotatef(SpinAngle * 0.33333334f, 0.0f, 1.0f, 0.0f);
  glScalef(0.5f, 0.5f, 0.5f);
  PrintText("%s", SelectedCar->name.c_str());
  glScalef(2.0f, 2.0f, 2.0f);
  glEnable(GL_DEPTH_TEST);
  SpinAngle += 0.1f;
  FadeMenuTint(SelectionTintFade);
}

TEST_F(SecondPlayerTest, TheKeyboardJoinsWithWAndLeavesWithSHeldASecondNotLess) {
  tap({'S'});           // nobody to leave
  tap({VK_GAMEPAD_A});  // the first pad's A is player one's Enter, never a join
  EXPECT_EQ(SecondPlayerJoined, SecondPlayer::None);
  EXPECT_EQ(ScreenState, 2);
  ScreenState = 1;
  KeyState['W'] = true;
  CarSelectionInput();
  EXPECT_FALSE(KeyState['W']);  // taken
  EXPECT_EQ(SecondPlayerJoined, SecondPlayer::Keyboard);
  EXPECT_TRUE(TwoPlayers());
  EXPECT_EQ(ScreenState, 1);

  hold('S', LeaveHoldFrames - 1);  // a hold a frame short of a second, let go: the count restarts
  hold('S', LeaveHoldFrames - 1);
  EXPECT_EQ(SecondPlayerJoined, SecondPlayer::Keyboard);
  tap({VK_GAMEPAD_VIEW + SecondPadKeys});  // a pad's Back: not how the keyboard player leaves
  EXPECT_EQ(SecondPlayerJoined, SecondPlayer::Keyboard);
  hold('S', LeaveHoldFrames);
  EXPECT_EQ(SecondPlayerJoined, SecondPlayer::None);
  EXPECT_EQ(ScreenState, 1);

  // Player two's keys are theirs to choose: a rebound accelerate joins.
  ASSERT_EQ(GameControls(2).setKey(Action::Accelerate, 0, platform::ScancodeFromName("I")),
            std::nullopt);
  tap({'W'});
  EXPECT_EQ(SecondPlayerJoined, SecondPlayer::None);
  tap({'I'});
  EXPECT_EQ(SecondPlayerJoined, SecondPlayer::Keyboard);
}

TEST_F(SecondPlayerTest, TheSecondPadJoinsWithItsAAndLeavesWithBackOrBHeldAndKeepsItsPlayer) {
  PadKeeping system;
  platform::SetWindowSystem(&system);
  tap({VK_GAMEPAD_A + SecondPadKeys});
  EXPECT_EQ(SecondPlayerJoined, SecondPlayer::Pad);
  EXPECT_EQ(system.kept, std::vector<bool>{true});
  tap({VK_GAMEPAD_VIEW + SecondPadKeys});
  EXPECT_EQ(SecondPlayerJoined, SecondPlayer::None);
  EXPECT_EQ(system.kept, (std::vector<bool>{true, false}));
  EXPECT_EQ(ScreenState, 1);  // the second pad's Back is no Escape for the screen

  tap({VK_GAMEPAD_A + SecondPadKeys});
  hold(VK_GAMEPAD_B + SecondPadKeys, LeaveHoldFrames - 1);
  EXPECT_EQ(SecondPlayerJoined, SecondPlayer::Pad);
  hold(VK_GAMEPAD_B + SecondPadKeys, LeaveHoldFrames);
  EXPECT_EQ(SecondPlayerJoined, SecondPlayer::None);
  // The keyboard player leaves the pads as they were: handed over in order.
  tap({'W'});
  EXPECT_EQ(system.kept, (std::vector<bool>{true, false, true, false, false}));
}

TEST_F(SecondPlayerTest, EachPlayerChoosesACarInTurnAndStaysJoinedAcrossScreens) {
  tap({'W'});
  tap({VK_RIGHT});  // player one's choice, as ever
  tap({'D'});       // player two's steer waits for their turn
  EXPECT_EQ(SelectedCarIndex, 1);
  EXPECT_EQ(SecondCarIndex, 0);
  tap({VK_RETURN});
  EXPECT_EQ(ScreenState, 1);
  EXPECT_EQ(CarChooser, 2);
  for (int key : {int('D'), VK_RIGHT, int('D')}) tap({key});  // either steps, up to the last car
  EXPECT_TRUE(SecondCarIndex == 2 && SecondCar == &CarRoster[2]);
  tap({'A'});
  EXPECT_TRUE(SecondCarIndex == 1 && SecondCar == &CarRoster[1]);
  EXPECT_EQ(SelectedCarIndex, 1);
  tap({VK_ESCAPE});  // back to player one's choice, not the main menu
  EXPECT_TRUE(ScreenState == 1 && CarChooser == 1);
  tap({VK_LEFT});
  EXPECT_EQ(SelectedCarIndex, 0);
  EXPECT_EQ(SecondCarIndex, 1);
  tap({VK_RETURN});
  SpinAngle = 3.0f;
  tap({'W'});  // player two's accelerate takes, as Enter does
  EXPECT_EQ(ScreenState, 2);
  EXPECT_FLOAT_EQ(SpinAngle, 70.0f);
  EXPECT_EQ(CarChooser, 1);
  EXPECT_TRUE(SelectedCar == &CarRoster[0] && SecondCar == &CarRoster[1]);

  // Back from the track selection (or a race) the choice starts with player one, still joined.
  KeyState[VK_ESCAPE] = true;
  TrackSelectionInput();
  EXPECT_TRUE(ScreenState == 1 && CarChooser == 1 && TwoPlayers());
  tap({VK_RETURN});
  tap({VK_RETURN});
  EXPECT_EQ(ScreenState, 2);

  // Player two leaving in their turn hands the choice back; Enter then goes on at once.
  ScreenState = 1;
  tap({VK_RETURN});
  ASSERT_EQ(CarChooser, 2);
  hold('S', LeaveHoldFrames);
  EXPECT_FALSE(TwoPlayers());
  EXPECT_EQ(CarChooser, 1);
  tap({VK_RETURN});
  EXPECT_EQ(ScreenState, 2);
}

TEST_F(SecondPlayerTest, WithNobodyJoinedTheScreenIsAsEverToThePixel) {
  loadContent();
  // Player two came and went: nothing of them is left on the screen.
  tap({'W'});
  hold('S', LeaveHoldFrames);
  ASSERT_FALSE(TwoPlayers());
  for (int car = 0; car <= LastSelectableCar; ++car) {
    SelectedCarIndex = static_cast<int16_t>(car);
    SelectedCar = &CarRoster[car];
    for (float spin : {0.0f, 77.0f, 200.0f, 1000.0f}) {
      const auto reference = carFrame(spin, DrawCarSelectionForOnePlayer);
      const float spun = SpinAngle;
      const auto tint = MenuTint;
      EXPECT_EQ(carFrame(spin), reference) << car << " at " << spin;
      EXPECT_EQ(SpinAngle, spun);
      EXPECT_EQ(MenuTint.red, tint.red);
    }
  }
}

TEST_F(SecondPlayerTest, TheJoinedLineKeepsClearOfTheNameArrowsAndEveryCarAtEveryAngle) {
  loadContent();
  // Where the longest line lies: drawn alone on black.
  tap({'W'});
  tap({VK_RETURN});
  ASSERT_EQ(JoinedLineText(true), "Player 2: keyboard, choosing");
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  DrawJoinedLine(true);
  glFinish();
  const auto line = framebuffer();
  std::vector<bool> near(800 * 600, false);
  int linePixels = 0, outsideTheCorner = 0;
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x) {
      const unsigned char* p = &line[(size_t(y) * 800 + x) * 3];
      if (p[0] == 0 && p[1] == 0 && p[2] == 0) continue;
      ++linePixels;
      outsideTheCorner += x > 330 || y < 540;
      for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx)
          if (x + dx >= 0 && x + dx < 800 && y + dy >= 0 && y + dy < 600)
            near[size_t(y + dy) * 800 + x + dx] = true;
    }
  EXPECT_GT(linePixels, 600);
  EXPECT_EQ(outsideTheCorner, 0);

  // Every car, every 15 degrees of its turn and the name's, leaves that corner black; and the
  // picture, arrows and name are where they were.
  SetSecondPlayer(SecondPlayer::None);
  int touched = 0;
  for (int car = 0; car <= LastSelectableCar; ++car) {
    SelectedCar = &CarRoster[car];
    for (int i = 0; i < 72; ++i) {
      const auto pixels = carFrame(15.0f * static_cast<float>(i));
      for (size_t at = 0; at < near.size(); ++at) {
        const unsigned char* p = &pixels[at * 3];
        touched += near[at] && (p[0] != 0 || p[1] != 0 || p[2] != 0);
      }
    }
  }
  EXPECT_EQ(touched, 0);
}

TEST_F(SecondPlayerTest, PlayerTwosTurnShowsTheirCarAndItsNameInTheirColour) {
  loadContent();
  SelectedCar = &CarRoster[0];
  SecondCar = &CarRoster[2];
  tap({'W'});
  const auto first = carFrame(10.0f);
  tap({VK_RETURN});
  const auto second = carFrame(10.0f);
  // In the band at the foot of the window, where the name turns.
  auto count = [](const std::vector<unsigned char>& pixels, bool (*is)(const unsigned char*)) {
    int n = 0;
    for (size_t at = 0; at < size_t(800 * 130 * 3); at += 3) n += is(&pixels[at]);
    return n;
  };
  auto teal = [](const unsigned char* p) {
    return p[0] < 20 && p[1] > 100 && p[1] < 150 && p[2] > 100 && p[2] < 150;
  };
  auto orange = [](const unsigned char* p) {
    return p[0] > 230 && p[1] > 120 && p[1] < 160 && p[2] < 50;
  };
  EXPECT_GT(count(first, teal), 500);
  EXPECT_EQ(count(second, teal), 0);
  EXPECT_GT(count(second, orange), 500);
  EXPECT_EQ(count(first, orange), 0);
  SelectedCar = &CarRoster[2];
  CarChooser = 1;
  SetSecondPlayer(SecondPlayer::None);
  const auto alone = carFrame(10.0f);
  // The same car model in the same place: only the texts differ.
  int carApart = 0;
  for (int y = 150; y < 520; ++y)
    for (int x = 0; x < 330; ++x) {
      const size_t at = (size_t(y) * 800 + x) * 3;
      carApart += !std::equal(&alone[at], &alone[at] + 3, &second[at]);
    }
  EXPECT_EQ(carApart, 0);
}

}  // namespace
