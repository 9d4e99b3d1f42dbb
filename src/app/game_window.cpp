// Game window creation and teardown through the window system, and the window procedure.
#include "app/game_window.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "assets/outline_font.h"
#include "game/game_setup.h"
#include "game/game_sounds.h"
#include "menu/main_menu.h"
#include "platform/frame_flags.h"
#include "platform/gl_context_generation.h"
#include "platform/keys.h"
#include "platform/message_box.h"
#include "platform/timeline.h"

using platform::Buttons;
using platform::Icon;

namespace {

constexpr int DepthBits = 16;

// What is held of the current window, so teardown releases exactly that.
bool gHasWindow = false;
bool gHasDeviceContext = false;
bool gHasContext = false;
int gPixelFormatBits = 0;
// Size the game asked for at the last creation: the picture's shape in full screen.
int gPictureWidth = 0;
int gPictureHeight = 0;

void Error(const char* text) {
  platform::ShowMessageBox(text, "ERROR", Buttons::Ok, Icon::Exclamation);
}

void ShutdownError(const char* text) {
  platform::ShowMessageBox(text, "SHUTDOWN ERROR", Buttons::Ok, Icon::Information);
}

// Stops a creation after a failed step: teardown first, then the message.
bool FailCreation(const char* text) {
  DestroyGameWindow();
  Error(text);
  return false;
}

}  // namespace

int PixelFormatColourBits() {
  return gPixelFormatBits;
}

bool CreateGameWindow(const char* title, int width, int height, int bits, bool fullscreen) {
  auto& ws = platform::CurrentWindowSystem();
  Fullscreen = fullscreen;

  if (!ws.registerClass()) {
    Error("Failed To Register The Window Class.");
    return false;
  }

  if (Fullscreen && !ws.changeDisplayMode(width, height, bits)) {
    auto answer = platform::ShowMessageBox(
        "The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use Windowed Mode "
        "Instead?",
        "Dovi GL", Buttons::YesNo, Icon::Exclamation);
    if (answer == platform::Answer::Yes) {
      Fullscreen = false;
    } else {
      platform::ShowMessageBox("Program Will Now Close.", "ERROR", Buttons::Ok, Icon::Stop);
      return false;
    }
  }
  ws.showCursor(!Fullscreen);

  gHasWindow = ws.createWindow(title, width, height, Fullscreen);
  if (gPixelFormatBits == 0) gPixelFormatBits = bits;
  if (!gHasWindow) return FailCreation("Window Creation Error.");
  platform::TimelineMark("window made");
  // What the main menu's first frame needs, its picture and the font's outlines, is prepared on
  // workers while the context is made; the rest waits for that frame. Started sooner, they would
  // take the cores from the window's creation and make it later.
  PrefetchMainMenuPicture();
  PrepareFont();
  gHasDeviceContext = ws.getDeviceContext();
  if (!gHasDeviceContext) return FailCreation("Can't Create A GL Device Context.");
  if (!ws.choosePixelFormat(gPixelFormatBits, DepthBits))
    return FailCreation("Can't Find A Suitable PixelFormat.");
  if (!ws.setPixelFormat()) return FailCreation("Can't Set The PixelFormat.");
  gHasContext = ws.createContext();
  if (!gHasContext) return FailCreation("Can't Create A GL Rendering Context.");
  if (!ws.makeCurrent()) return FailCreation("Can't Activate The GL Rendering Context.");
  // Every GL name made in an earlier context is now stale.
  platform::AdvanceGlContextGeneration();
  platform::TimelineMark("context current");

  ws.showWindow();
  ws.inhibitScreenSaver(true);
  gPictureWidth = width;
  gPictureHeight = height;
  // The drawable in pixels, which a desktop-size full screen or a scaled display makes
  // differ from the size asked for.
  int drawableWidth = width, drawableHeight = height;
  if (ws.drawableSize(drawableWidth, drawableHeight))
    ResizeScene(drawableWidth, drawableHeight);
  else
    ResizeScene(width, height);

  if (!InitScene()) return FailCreation("Initialization Failed.");
  return true;
}

void DestroyGameWindow() {
  auto& ws = platform::CurrentWindowSystem();
  if (Fullscreen) {
    ws.restoreDisplayMode();
    ws.showCursor(true);
  }
  if (gHasContext) {
    if (!ws.detachContext()) ShutdownError("Release Of DC And RC Failed.");
    if (!ws.deleteContext()) ShutdownError("Release Rendering Context Failed.");
    gHasContext = false;
    // The context took its textures and lists with it: what still holds their names (car
    // models, banners, the road) must forget them, not delete them with no context current.
    platform::AdvanceGlContextGeneration();
  }
  if (gHasDeviceContext && !ws.releaseDeviceContext()) {
    ShutdownError("Release Device Context Failed.");
  }
  gHasDeviceContext = false;
  if (gHasWindow && !ws.destroyWindow()) {
    ShutdownError("Could Not Release hWnd.");
  }
  gHasWindow = false;
  ws.inhibitScreenSaver(false);
  if (!ws.unregisterClass()) ShutdownError("Could Not Unregister Class.");
}

void ResizeScene(int width, int height) {
  // Sizes reported before a context is current have nothing to act on.
  if (!gHasContext) return;
  if (height == 0) height = 1;
  int x = 0, y = 0;
  if (Fullscreen && gPictureWidth > 0 && gPictureHeight > 0) {
    // Full screen keeps the picture's own shape: largest that fits, centred; the bars outside
    // stay black because every frame clears the whole drawable.
    int fitWidth =
        static_cast<int>(static_cast<long long>(height) * gPictureWidth / gPictureHeight);
    int fitHeight = height;
    if (fitWidth > width) {
      fitWidth = width;
      fitHeight = static_cast<int>(static_cast<long long>(width) * gPictureHeight / gPictureWidth);
      if (fitHeight < 1) fitHeight = 1;
    }
    x = (width - fitWidth) / 2;
    y = (height - fitHeight) / 2;
    width = fitWidth;
    height = fitHeight;
  }
  glViewport(x, y, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(45.0, static_cast<double>(width) / static_cast<double>(height),
                 static_cast<double>(0.1f), 100.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

bool InitScene() {
  ScreenState = screen::MainMenu;
  // The main menu's part; the main loop finishes the rest behind the first frame.
  BeginGameSetup();
  ResetMainMenu();
  glEnable(GL_POLYGON_SMOOTH);
  glShadeModel(GL_SMOOTH);
  glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
  glClearDepth(1.0);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  BuildFont();
  platform::TimelineMark("scene ready");
  return true;
}

void WindowProc(const platform::Message& message) {
  using platform::MessageKind;
  switch (message.kind) {
    case MessageKind::Activate:
      Active = !message.minimised;
      // Minimised or in the background, the game is silent.
      SetSoundInBackground(message.minimised || !message.focused);
      break;
    case MessageKind::ScreenSave:
      break;  // swallowed: no screen saver, no monitor power-down while playing
    case MessageKind::Close:
      platform::CurrentWindowSystem().postQuit(0);
      break;
    case MessageKind::KeyDown:
      if (message.key >= 0 && message.key < KeyCount) KeyState[message.key] = true;
      break;
    case MessageKind::KeyUp:
      if (message.key >= 0 && message.key < KeyCount) KeyState[message.key] = false;
      break;
    case MessageKind::Size:
      ResizeScene(message.width, message.height);
      break;
    case MessageKind::SysKeyDown:
    case MessageKind::SysKeyUp:
    case MessageKind::Quit:
      break;  // system keys never reach the keyboard state
  }
}
