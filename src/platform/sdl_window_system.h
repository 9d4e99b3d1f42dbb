// The SDL2 window system: the game's real window, GL context, keyboard and display modes.
#pragma once

#include <SDL.h>

#include "platform/window_system.h"

namespace platform {

class SdlWindowSystem : public WindowSystem {
 public:
  SdlWindowSystem();
  ~SdlWindowSystem() override;

  bool registerClass() override;
  bool unregisterClass() override;
  bool changeDisplayMode(int width, int height, int bits) override;
  bool restoreDisplayMode() override;
  void showCursor(bool show) override;
  bool createWindow(const std::string& title, int width, int height, bool fullscreen) override;
  bool destroyWindow() override;
  void showWindow() override;
  bool getDeviceContext() override;
  bool releaseDeviceContext() override;
  bool choosePixelFormat(int colourBits, int depthBits) override;
  bool setPixelFormat() override;
  bool createContext() override;
  bool makeCurrent() override;
  bool detachContext() override;
  bool deleteContext() override;
  void present() override;
  bool peekMessage(Message& message) override;
  void postQuit(int code) override;
  void inhibitScreenSaver(bool inhibit) override;
  int refreshRate() override;
  bool setSwapInterval(int interval) override;

 private:
  bool translate(const SDL_Event& event, Message& message);

  SDL_Window* window_ = nullptr;
  SDL_GLContext context_ = nullptr;
  bool fullscreenWindow_ = false;
  bool modeChanged_ = false;
  SDL_DisplayMode wantedMode_{};
  int pendingQuitCode_ = -1;
};

// The game window for message-box ownership (null when there is none).
SDL_Window* SdlGameWindow();
// Whether SDL's video runs on a real display (not the offscreen or dummy driver).
bool SdlHasDisplay();

// Windows virtual-key code for an SDL key, 0 when the key has none.
int VirtualKeyFromSdl(SDL_Keycode key, SDL_Scancode scancode);

}  // namespace platform
