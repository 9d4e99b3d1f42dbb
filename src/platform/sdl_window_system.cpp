// SDL2 implementation of the window system. SDL has no window classes, device contexts or
// separate pixel-format steps: those succeed as no-ops, and the video subsystem start stands
// where the window class was registered.
#include "platform/sdl_window_system.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/frame_flags.h"
#include "platform/keys.h"
#include "platform/mouse.h"
#include "platform/typed_text.h"

namespace platform {
namespace {

SDL_Window* gGameWindow = nullptr;

// Says on standard error which platform step failed and SDL's own reason; returns false.
bool Failed(const char* step) {
  std::fprintf(stderr, "quillon: %s failed: %s\n", step, SDL_GetError());
  return false;
}

bool IsHeadlessDriver(const char* driver) {
  return driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
}

}  // namespace

SDL_Window* SdlGameWindow() {
  return gGameWindow;
}

bool SdlHasDisplay() {
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return true;  // not started yet: let SDL try its own way
  return !IsHeadlessDriver(SDL_GetCurrentVideoDriver());
}

// SIGTERM and SIGINT are the game's own (platform/quit_signals.h), not turned into SDL's quit.
SdlWindowSystem::SdlWindowSystem() {
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
}

SdlWindowSystem::~SdlWindowSystem() {
  for (auto& [id, controller] : controllers_) SDL_GameControllerClose(controller);
  if (context_) SDL_GL_DeleteContext(context_);
  if (window_) SDL_DestroyWindow(window_);
  gGameWindow = nullptr;
  SDL_Quit();
}

bool SdlWindowSystem::startVideo() {
  if (SDL_WasInit(SDL_INIT_VIDEO)) return true;
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return Failed("starting SDL's video");
  // SDL falls back to drivers that draw nowhere when no display answers; unless the player
  // asked for one of them by name, that is no display at all.
  if (IsHeadlessDriver(SDL_GetCurrentVideoDriver()) && !std::getenv("SDL_VIDEODRIVER")) {
    std::fprintf(stderr,
                 "quillon: starting SDL's video failed: no display answered (SDL found only "
                 "its \"%s\" video driver)\n",
                 SDL_GetCurrentVideoDriver());
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return false;
  }
  // Controllers stay open across window re-creation; without them the keyboard still plays.
  if (!SDL_WasInit(SDL_INIT_GAMECONTROLLER) && SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0)
    Failed("starting SDL's game controllers");
  return true;
}

bool SdlWindowSystem::registerClass() {
  return startVideo();
}

// The video system stays up until the window system ends: its display connection is the game's
// one standing client of the X server. Dropped and opened again on every re-creation, it left
// moments with no client of the game connected, in which an X server without a window manager
// (Xvfb, a kiosk) resets and drops the connections that arrive meanwhile, the new one included.
bool SdlWindowSystem::unregisterClass() {
  return true;
}

// Full screen never changes the display's mode: the window covers the desktop at the desktop's
// own size, borderless, and the picture keeps its shape between bars. A mode the game set would
// outlive an end the game does not control (the watchdog's _exit, a crash), and restoring it from
// the watchdog would mean display calls on a second thread while the first may be stuck inside
// the same connection.
bool SdlWindowSystem::changeDisplayMode(int, int, int) {
  SDL_DisplayMode desktop;
  if (SDL_GetDesktopDisplayMode(0, &desktop) != 0) return Failed("reading the desktop mode");
  return true;
}

bool SdlWindowSystem::restoreDisplayMode() {
  if (window_ && fullscreenWindow_) SDL_SetWindowFullscreen(window_, 0);
  return true;
}

void SdlWindowSystem::showCursor(bool show) {
  SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

bool SdlWindowSystem::createWindow(const std::string& title, int width, int height,
                                   bool fullscreen) {
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
  // High-DPI drawables where the system scales windows: the viewport follows the pixels.
  Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI;
  flags |= fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : SDL_WINDOW_RESIZABLE;
  int x = 0, y = 0;
  SDL_Rect desktop;
  if (fullscreen && SDL_GetDisplayBounds(0, &desktop) == 0) {
    // Made at the desktop's place and size and without a frame, so it covers the screen even
    // where no window manager acts on the full-screen request.
    flags |= SDL_WINDOW_BORDERLESS;
    x = desktop.x;
    y = desktop.y;
    width = desktop.w;
    height = desktop.h;
  }
  window_ = SDL_CreateWindow(title.c_str(), x, y, width, height, flags);
  if (!window_) return Failed("creating the window");
  fullscreenWindow_ = fullscreen;
  gGameWindow = window_;
  return true;
}

bool SdlWindowSystem::destroyWindow() {
  if (!window_) return false;
  SDL_DestroyWindow(window_);
  window_ = nullptr;
  gGameWindow = nullptr;
  return true;
}

void SdlWindowSystem::showWindow() {
  SDL_ShowWindow(window_);
  SDL_RaiseWindow(window_);
}

bool SdlWindowSystem::getDeviceContext() {
  return window_ != nullptr;
}
bool SdlWindowSystem::releaseDeviceContext() {
  return true;
}
bool SdlWindowSystem::choosePixelFormat(int, int) {
  return window_ != nullptr;
}
bool SdlWindowSystem::setPixelFormat() {
  return window_ != nullptr;
}

bool SdlWindowSystem::createContext() {
  context_ = SDL_GL_CreateContext(window_);
  return context_ != nullptr || Failed("creating the GL context");
}

bool SdlWindowSystem::makeCurrent() {
  return SDL_GL_MakeCurrent(window_, context_) == 0 || Failed("making the GL context current");
}

bool SdlWindowSystem::detachContext() {
  return SDL_GL_MakeCurrent(window_, nullptr) == 0 || Failed("detaching the GL context");
}

bool SdlWindowSystem::deleteContext() {
  if (!context_) return false;
  SDL_GL_DeleteContext(context_);
  context_ = nullptr;
  return true;
}

void SdlWindowSystem::present() {
  if (window_) SDL_GL_SwapWindow(window_);
}

bool SdlWindowSystem::peekMessage(Message& message) {
  if (pendingQuitCode_ >= 0) {
    message = Message{};
    message.kind = MessageKind::Quit;
    message.code = pendingQuitCode_;
    pendingQuitCode_ = -1;
    return true;
  }
  SDL_Event event;
  while (pending_.empty() && SDL_PollEvent(&event)) {
    if (translate(event, message)) return true;
  }
  if (pending_.empty()) return false;
  message = pending_.front();
  pending_.pop_front();
  return true;
}

void SdlWindowSystem::controllerEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED: {
      // SDL announces controllers present at start too, so one may be announced twice.
      SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(event.cdevice.which);
      if (id < 0 || controllers_.count(id)) return;
      SDL_GameController* controller = SDL_GameControllerOpen(event.cdevice.which);
      if (!controller) return;
      controllers_[id] = controller;
      for (SDL_JoystickID placed : controllerKeys_.connected(id, pending_))
        readHeldControls(placed);
      return;
    }
    case SDL_CONTROLLERDEVICEREMOVED: {
      auto found = controllers_.find(event.cdevice.which);
      const auto placed = controllerKeys_.disconnected(event.cdevice.which, pending_);
      if (found != controllers_.end()) {
        SDL_GameControllerClose(found->second);
        controllers_.erase(found);
      }
      for (SDL_JoystickID id : placed) readHeldControls(id);
      return;
    }
    default:
      controllerKeys_.handle(event, pending_);
  }
}

void SdlWindowSystem::readHeldControls(SDL_JoystickID id) {
  auto found = controllers_.find(id);
  if (found == controllers_.end()) return;
  // What it holds now, as the events that would have pressed it: a held stick counts at once.
  SDL_Event event{};
  for (int button = 0; button < SDL_CONTROLLER_BUTTON_MAX; ++button) {
    auto which = static_cast<SDL_GameControllerButton>(button);
    if (!SDL_GameControllerGetButton(found->second, which)) continue;
    event.type = SDL_CONTROLLERBUTTONDOWN;
    event.cbutton.which = id;
    event.cbutton.button = static_cast<Uint8>(button);
    controllerKeys_.handle(event, pending_);
  }
  for (int axis = 0; axis < SDL_CONTROLLER_AXIS_MAX; ++axis) {
    event.type = SDL_CONTROLLERAXISMOTION;
    event.caxis.which = id;
    event.caxis.axis = static_cast<Uint8>(axis);
    event.caxis.value =
        SDL_GameControllerGetAxis(found->second, static_cast<SDL_GameControllerAxis>(axis));
    controllerKeys_.handle(event, pending_);
  }
}

void SdlWindowSystem::setPadsKeepPlayers(bool keep) {
  for (SDL_JoystickID id : controllerKeys_.keepPlayers(keep, pending_)) readHeldControls(id);
}

void SdlWindowSystem::keysCleared() {
  controllerKeys_.pressHeldAgain(pending_);
}

void SdlWindowSystem::mouseEvent(const SDL_Event& event) {
  if (!window_) return;
  int x = 0, y = 0, width = 1, height = 1, pixelsWide = 1, pixelsHigh = 1;
  if (event.type == SDL_MOUSEWHEEL) {
    Mouse.wheel += event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y;
    return;
  }
  if (event.type == SDL_MOUSEMOTION) {
    x = event.motion.x;
    y = event.motion.y;
  } else {
    x = event.button.x;
    y = event.button.y;
    const int button = event.button.button == SDL_BUTTON_LEFT     ? MouseLeft
                       : event.button.button == SDL_BUTTON_MIDDLE ? MouseMiddle
                       : event.button.button == SDL_BUTTON_RIGHT  ? MouseRight
                                                                  : -1;
    if (button >= 0) {
      const bool down = event.type == SDL_MOUSEBUTTONDOWN;
      if (down) Mouse.pressed[button] = true;
      Mouse.held[button] = down;
    }
  }
  // Window units to the drawable's pixels, counted from the bottom as GL counts them.
  SDL_GetWindowSize(window_, &width, &height);
  SDL_GL_GetDrawableSize(window_, &pixelsWide, &pixelsHigh);
  if (width <= 0 || height <= 0) return;
  Mouse.x = x * pixelsWide / width;
  Mouse.y = pixelsHigh - 1 - y * pixelsHigh / height;
  Mouse.seen = true;
}

bool SdlWindowSystem::translate(const SDL_Event& event, Message& message) {
  message = Message{};
  switch (event.type) {
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
    case SDL_MOUSEWHEEL:
      mouseEvent(event);
      return false;
    case SDL_QUIT:
      message.kind = MessageKind::Close;
      return true;
    case SDL_TEXTINPUT:  // on by default in SDL 2 where there is no screen keyboard
      AppendTypedText(event.text.text);
      return false;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      int key = VirtualKeyFromSdl(event.key.keysym.sym, event.key.keysym.scancode);
      if (key <= 0 || key >= KeyCount) return false;
      bool system = (event.key.keysym.mod & KMOD_ALT) != 0 || key == VK_F10 || key == VK_MENU;
      bool down = event.type == SDL_KEYDOWN;
      if (system)
        message.kind = down ? MessageKind::SysKeyDown : MessageKind::SysKeyUp;
      else
        message.kind = down ? MessageKind::KeyDown : MessageKind::KeyUp;
      message.key = key;
      return controllerKeys_.keyboard(message);
    }
    case SDL_CONTROLLERDEVICEADDED:
    case SDL_CONTROLLERDEVICEREMOVED:
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
    case SDL_CONTROLLERAXISMOTION:
      controllerEvent(event);
      return false;
    case SDL_WINDOWEVENT:
      // Events still queued for a window that F1 has replaced (its size above all) are not the
      // new window's.
      if (!window_ || event.window.windowID != SDL_GetWindowID(window_)) return false;
      switch (event.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
          message.kind = MessageKind::Close;
          return true;
        case SDL_WINDOWEVENT_MINIMIZED:
          message.kind = MessageKind::Activate;
          message.minimised = true;
          message.focused = false;
          return true;
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_FOCUS_GAINED:
        case SDL_WINDOWEVENT_FOCUS_LOST:
          message.kind = MessageKind::Activate;
          message.minimised = (SDL_GetWindowFlags(window_) & SDL_WINDOW_MINIMIZED) != 0;
          message.focused = event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED ||
                            (event.window.event == SDL_WINDOWEVENT_RESTORED &&
                             (SDL_GetWindowFlags(window_) & SDL_WINDOW_INPUT_FOCUS));
          return true;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
          message.kind = MessageKind::Size;
          message.width = event.window.data1;
          message.height = event.window.data2;
          // The event counts screen units; on a scaled display the pixels are more.
          SDL_GL_GetDrawableSize(window_, &message.width, &message.height);
          return true;
        default:
          return false;
      }
    default:
      return false;
  }
}

void SdlWindowSystem::postQuit(int code) {
  pendingQuitCode_ = code;
}

void SdlWindowSystem::inhibitScreenSaver(bool inhibit) {
  if (inhibit)
    SDL_DisableScreenSaver();
  else
    SDL_EnableScreenSaver();
}

int SdlWindowSystem::refreshRate() {
  SDL_DisplayMode mode;
  if (!window_ || SDL_GetWindowDisplayMode(window_, &mode) != 0) return 0;
  return mode.refresh_rate;
}

bool SdlWindowSystem::drawableSize(int& width, int& height) {
  if (!window_) return false;
  SDL_GL_GetDrawableSize(window_, &width, &height);
  return width > 0 && height > 0;
}

bool SdlWindowSystem::setSwapInterval(int interval) {
  return SDL_GL_SetSwapInterval(interval) == 0;
}

}  // namespace platform
