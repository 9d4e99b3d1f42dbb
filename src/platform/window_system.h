// The window system as the application frame sees it: one game window with an OpenGL context,
// a message queue carrying Windows-style messages, display modes, cursor and presentation.
// Two implementations: SDL2 for the game, and a scripted one for tests (headless GL).
#pragma once

#include <memory>
#include <string>

namespace platform {

enum class MessageKind {
  KeyDown,     // key: virtual-key code (also sent again by auto-repeat)
  KeyUp,       // key: virtual-key code
  SysKeyDown,  // a key pressed with Alt held, or F10: never reaches the keyboard state
  SysKeyUp,
  Activate,    // minimised: true while the window is minimised; focused as below
  Size,        // width, height: the new drawable size in pixels
  Close,       // the window's close request
  ScreenSave,  // the system asks to start the screen saver or power the monitor down
  Quit,        // code: the program's exit code
};

struct Message {
  MessageKind kind = MessageKind::Quit;
  int key = 0;
  bool minimised = false;
  int width = 0;
  int height = 0;
  int code = 0;
  bool focused = true;  // Activate: whether the window has the keyboard
};

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;

  // Start and stop the video system (where the window class is registered and unregistered).
  virtual bool registerClass() = 0;
  virtual bool unregisterClass() = 0;

  // Full-screen display mode change and the return to the desktop's own mode.
  virtual bool changeDisplayMode(int width, int height, int bits) = 0;
  virtual bool restoreDisplayMode() = 0;
  virtual void showCursor(bool show) = 0;

  // The window: client size width by height; full-screen windows have no frame.
  virtual bool createWindow(const std::string& title, int width, int height, bool fullscreen) = 0;
  virtual bool destroyWindow() = 0;
  // Show it, bring it to the foreground and give it the keyboard focus.
  virtual void showWindow() = 0;

  // Device context and pixel format (double-buffered RGBA, colour bits, 16 or more depth bits).
  virtual bool getDeviceContext() = 0;
  virtual bool releaseDeviceContext() = 0;
  virtual bool choosePixelFormat(int colourBits, int depthBits) = 0;
  virtual bool setPixelFormat() = 0;

  // The GL context: compatibility profile, so fixed-function GL works.
  virtual bool createContext() = 0;
  virtual bool makeCurrent() = 0;
  virtual bool detachContext() = 0;
  virtual bool deleteContext() = 0;

  // Size of the window's drawable in pixels; false when the system cannot tell.
  virtual bool drawableSize(int& width, int& height) {
    (void)width;
    (void)height;
    return false;
  }

  // Presents the back buffer.
  virtual void present() = 0;
  // Takes the next waiting message, if any.
  virtual bool peekMessage(Message& message) = 0;
  virtual void postQuit(int code) = 0;
  // Keeps the screen saver and monitor power-down from starting while the game runs.
  virtual void inhibitScreenSaver(bool inhibit) = 0;
  // Refresh rate of the display the window is on, 0 when unknown.
  virtual int refreshRate() = 0;
  // Asks the driver to wait for vertical blank at each present; true when it took.
  virtual bool setSwapInterval(int interval) = 0;
  // The keyboard state was cleared (a message box was answered): keys that sources other than
  // the keyboard still hold are to be pressed again.
  virtual void keysCleared() {}
  // While true, each game pad stays with the player it plays for: unplugging one hands nothing
  // over to another pad. False (the start), the first connected pad plays for player one.
  virtual void setPadsKeepPlayers(bool keep) { (void)keep; }
};

// The window system the frame uses; set once at start (the SDL one, or a test's).
WindowSystem& CurrentWindowSystem();
// The same, or null when none is set.
WindowSystem* CurrentWindowSystemIfAny();
void SetWindowSystem(WindowSystem* system);

}  // namespace platform
