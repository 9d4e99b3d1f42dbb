// SDL keyboard events become Windows-style key messages: the right virtual-key codes, system
// keys kept apart, keys without a code dropped.
#include <SDL.h>
#include <gtest/gtest.h>

#include "platform/keys.h"
#include "platform/sdl_window_system.h"

namespace {

using platform::MessageKind;
using platform::VirtualKeyFromSdl;

// The arrows, Enter, Escape, F1, F4, 1 and 2 are pressed by the end-to-end scripts.
TEST(SdlKeyMap, GivesTheVirtualKeyCodesTheGameReads) {
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_F12, SDL_SCANCODE_F12), 0x7B);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_n, SDL_SCANCODE_N), 'N');
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_z, SDL_SCANCODE_Z), 'Z');
  // A French layout: the digit row still gives digits, a letter follows the layout.
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_AMPERSAND, SDL_SCANCODE_1), '1');
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_z, SDL_SCANCODE_W), 'Z');
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_COMMA, SDL_SCANCODE_M), 0);  // not M: M is elsewhere
}

TEST(SdlKeyMap, KeysWithoutACodeGiveZeroAndNoCodeLeavesTheTable) {
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_UNKNOWN, SDL_SCANCODE_UNKNOWN), 0);
  for (int scancode = 0; scancode < SDL_NUM_SCANCODES; ++scancode) {
    auto sc = static_cast<SDL_Scancode>(scancode);
    int vk = VirtualKeyFromSdl(SDL_GetKeyFromScancode(sc), sc);
    EXPECT_GE(vk, 0);
    EXPECT_LT(vk, KeyCount);
  }
}

class SdlEventsTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0); }
  void push(Uint32 type, SDL_Keycode key, SDL_Scancode scancode, Uint16 mod, bool repeat = false) {
    SDL_Event e{};
    e.type = type;
    e.key.keysym.sym = key;
    e.key.keysym.scancode = scancode;
    e.key.keysym.mod = mod;
    e.key.repeat = repeat;
    SDL_PushEvent(&e);
  }
  platform::SdlWindowSystem ws;
};

TEST_F(SdlEventsTest, KeysBecomeKeyMessagesAndAltOrF10BecomeSystemKeys) {
  push(SDL_KEYDOWN, SDLK_UP, SDL_SCANCODE_UP, KMOD_NONE);
  push(SDL_KEYDOWN, SDLK_UP, SDL_SCANCODE_UP, KMOD_NONE, true);  // auto-repeat
  push(SDL_KEYUP, SDLK_UP, SDL_SCANCODE_UP, KMOD_NONE);
  push(SDL_KEYDOWN, SDLK_F4, SDL_SCANCODE_F4, KMOD_LALT);
  push(SDL_KEYDOWN, SDLK_F10, SDL_SCANCODE_F10, KMOD_NONE);
  push(SDL_KEYDOWN, SDLK_AUDIOPLAY, SDL_SCANCODE_AUDIOPLAY, KMOD_NONE);  // dropped
  push(SDL_KEYDOWN, SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, KMOD_NONE);

  std::vector<std::pair<MessageKind, int>> got;
  platform::Message m;
  while (ws.peekMessage(m)) got.emplace_back(m.kind, m.key);
  std::vector<std::pair<MessageKind, int>> expected = {
      {MessageKind::KeyDown, VK_UP},     {MessageKind::KeyDown, VK_UP},
      {MessageKind::KeyUp, VK_UP},       {MessageKind::SysKeyDown, VK_F4},
      {MessageKind::SysKeyDown, VK_F10}, {MessageKind::KeyDown, VK_RETURN},
  };
  EXPECT_EQ(got, expected);
}

TEST_F(SdlEventsTest, ACloseRequestAndAPostedQuitComeThroughInOrder) {
  SDL_Event e{};
  e.type = SDL_QUIT;
  SDL_PushEvent(&e);
  platform::Message m;
  ASSERT_TRUE(ws.peekMessage(m));
  EXPECT_EQ(m.kind, MessageKind::Close);
  ws.postQuit(0);
  ASSERT_TRUE(ws.peekMessage(m));
  EXPECT_EQ(m.kind, MessageKind::Quit);
  EXPECT_EQ(m.code, 0);
  EXPECT_FALSE(ws.peekMessage(m));
}

}  // namespace
