// Scripted window system: replayed messages, canned answers, headless GL.
#include "platform/scripted_window_system.h"

namespace platform {

ScriptedWindowSystem::ScriptedWindowSystem() {
  SetMessageBoxHandler([this](const std::string& text, const std::string& caption,
                              Buttons buttons, Icon icon) {
    boxes.push_back({text, caption, buttons, icon});
    calls.push_back("messageBox:" + caption);
    if (!answers_.empty()) {
      Answer a = answers_.front();
      answers_.pop_front();
      return a;
    }
    return buttons == Buttons::YesNo ? Answer::No : Answer::Ok;
  });
}

ScriptedWindowSystem::~ScriptedWindowSystem() { SetMessageBoxHandler(nullptr); }

void ScriptedWindowSystem::send(const Message& message) { script_.push_back(message); }

void ScriptedWindowSystem::keyDown(int key) {
  Message m;
  m.kind = MessageKind::KeyDown;
  m.key = key;
  send(m);
}

void ScriptedWindowSystem::keyUp(int key) {
  Message m;
  m.kind = MessageKind::KeyUp;
  m.key = key;
  send(m);
}

void ScriptedWindowSystem::idle(int iterations) {
  for (int i = 0; i < iterations; ++i) script_.push_back(std::nullopt);
}

void ScriptedWindowSystem::answer(Answer a) { answers_.push_back(a); }

bool ScriptedWindowSystem::step(const char* name) {
  calls.emplace_back(name);
  return failing.count(name) == 0;
}

bool ScriptedWindowSystem::registerClass() { return step("registerClass"); }
bool ScriptedWindowSystem::unregisterClass() { return step("unregisterClass"); }

bool ScriptedWindowSystem::changeDisplayMode(int, int, int bits) {
  displayModeBits.push_back(bits);
  return step("changeDisplayMode");
}

bool ScriptedWindowSystem::restoreDisplayMode() { return step("restoreDisplayMode"); }

void ScriptedWindowSystem::showCursor(bool show) {
  calls.emplace_back(show ? "showCursor" : "hideCursor");
  cursorShown = show;
}

bool ScriptedWindowSystem::createWindow(const std::string& title, int width, int height,
                                        bool fullscreen) {
  if (!step("createWindow")) return false;
  pending_ = {title, width, height, fullscreen};
  windows.push_back(pending_);
  return true;
}

bool ScriptedWindowSystem::destroyWindow() { return step("destroyWindow"); }
void ScriptedWindowSystem::showWindow() { calls.emplace_back("showWindow"); }
bool ScriptedWindowSystem::getDeviceContext() { return step("getDeviceContext"); }
bool ScriptedWindowSystem::releaseDeviceContext() { return step("releaseDeviceContext"); }

bool ScriptedWindowSystem::choosePixelFormat(int colourBits, int depthBits) {
  lastPixelFormatColourBits = colourBits;
  lastPixelFormatDepthBits = depthBits;
  return step("choosePixelFormat");
}

bool ScriptedWindowSystem::setPixelFormat() { return step("setPixelFormat"); }

bool ScriptedWindowSystem::createContext() {
  if (!step("createContext")) return false;
  gl_ = HeadlessGl::Create(pending_.width, pending_.height);
  return gl_ != nullptr;
}

bool ScriptedWindowSystem::makeCurrent() {
  if (!step("makeCurrent")) return false;
  return gl_ && gl_->makeCurrent();
}

bool ScriptedWindowSystem::detachContext() { return step("detachContext"); }

bool ScriptedWindowSystem::deleteContext() {
  bool ok = step("deleteContext");
  gl_.reset();
  return ok;
}

void ScriptedWindowSystem::present() {
  // As a real present does, this hands the frame to the driver; unpresented frames would pile
  // up in it.
  if (gl_) gl_->swap();
  ++presents;
  calls.emplace_back("present");
}

bool ScriptedWindowSystem::peekMessage(Message& message) {
  if (postedQuit_) {
    message = Message{};
    message.kind = MessageKind::Quit;
    message.code = *postedQuit_;
    postedQuit_.reset();
    return true;
  }
  if (script_.empty()) {
    scriptExhausted = true;
    message = Message{};
    message.kind = MessageKind::Quit;
    message.code = 99;
    return true;
  }
  auto next = script_.front();
  script_.pop_front();
  if (!next) return false;
  message = *next;
  return true;
}

void ScriptedWindowSystem::postQuit(int code) { postedQuit_ = code; }

void ScriptedWindowSystem::inhibitScreenSaver(bool inhibit) { screenSaverInhibited = inhibit; }

}  // namespace platform
