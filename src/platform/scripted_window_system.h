// A window system for tests: replays a script of messages and idle iterations, answers
// message boxes from a list, can fail any creation step on request, records what the game
// asked of it, and renders into a headless GL context.
#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/headless_gl.h"
#include "platform/message_box.h"
#include "platform/window_system.h"

namespace platform {

class ScriptedWindowSystem : public WindowSystem {
 public:
  struct Window {
    std::string title;
    int width = 0;
    int height = 0;
    bool fullscreen = false;
  };
  struct Box {
    std::string text;
    std::string caption;
    Buttons buttons;
    Icon icon;
  };

  // Installs itself as the message-box handler for its lifetime.
  ScriptedWindowSystem();
  ~ScriptedWindowSystem() override;

  // Script: messages are taken one per loop iteration; idle() makes peekMessage report an empty
  // queue once (one idle iteration). When the script runs out, a Quit with code 99 ends the loop.
  void send(const Message& message);
  void keyDown(int key);
  void keyUp(int key);
  void idle(int iterations = 1);
  void answer(Answer answer);  // next message-box answer (boxes without one get Ok / No)

  // Steps to fail: "registerClass", "changeDisplayMode", "createWindow", "getDeviceContext",
  // "choosePixelFormat", "setPixelFormat", "createContext", "makeCurrent", "detachContext",
  // "deleteContext", "releaseDeviceContext", "destroyWindow", "unregisterClass".
  std::set<std::string> failing;

  // What happened.
  std::vector<Window> windows;        // every window created
  std::vector<Box> boxes;             // every message box shown
  std::vector<std::string> calls;     // every call, by name, in order
  std::vector<int> displayModeBits;   // bits of each display-mode change asked for
  int presents = 0;
  bool cursorShown = true;
  bool screenSaverInhibited = false;
  bool scriptExhausted = false;
  HeadlessGl* gl() { return gl_.get(); }

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
  int refreshRate() override { return 0; }
  bool setSwapInterval(int) override { return false; }

  int lastPixelFormatColourBits = 0;
  int lastPixelFormatDepthBits = 0;

 private:
  bool step(const char* name);

  std::deque<std::optional<Message>> script_;
  std::deque<Answer> answers_;
  std::optional<int> postedQuit_;
  std::unique_ptr<HeadlessGl> gl_;
  Window pending_;
};

}  // namespace platform
