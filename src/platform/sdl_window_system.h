// The SDL2 window system: the game's real window, GL context, keyboard and display modes.
#pragma once

#include <SDL.h>

#include <deque>
#include <map>

#include "platform/controller_keys.h"
#include "platform/window_system.h"

namespace platform {

class SdlWindowSystem : public WindowSystem {
 public:
  SdlWindowSystem();
  ~SdlWindowSystem() override;

  // Starts SDL's video and controllers unless they run; false, with the reason on standard
  // error, when there is no display. The game starts it before its first message box, so that
  // the box's own display connection never meets a server reset.
  bool startVideo();
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
  bool drawableSize(int& width, int& height) override;
  void keysCleared() override;
  void setPadsKeepPlayers(bool keep) override;

 private:
  bool translate(const SDL_Event& event, Message& message);
  void controllerEvent(const SDL_Event& event);
  // Pointer moves, buttons and the wheel into the mouse state (no message).
  void mouseEvent(const SDL_Event& event);
  // Presses what controller id holds now (it has just come to play for a player).
  void readHeldControls(SDL_JoystickID id);

  SDL_Window* window_ = nullptr;
  SDL_GLContext context_ = nullptr;
  bool fullscreenWindow_ = false;
  int pendingQuitCode_ = -1;
  // Key messages from controllers wait here: one controller event can make several.
  std::deque<Message> pending_;
  ControllerKeys controllerKeys_;
  std::map<SDL_JoystickID, SDL_GameController*> controllers_;
};

// The game window for message-box ownership (null when there is none).
SDL_Window* SdlGameWindow();
// Whether SDL's video runs on a real display (not the offscreen or dummy driver).
bool SdlHasDisplay();

// Windows virtual-key code for an SDL key, 0 when the key has none.
int VirtualKeyFromSdl(SDL_Keycode key, SDL_Scancode scancode);

}  // namespace platform
