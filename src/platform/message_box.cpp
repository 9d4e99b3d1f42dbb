// Message-box dispatch: the installed handler, or SDL's box owned by the game window.
#include "platform/message_box.h"

#include <SDL.h>

#include <cstdio>

#include "platform/box_answer_keys.h"
#include "platform/sdl_window_system.h"
#include "platform/window_system.h"
#include "platform/worker_gate.h"

namespace platform {
namespace {

MessageBoxHandler& Handler() {
  static MessageBoxHandler handler;
  return handler;
}

Answer ShowSdlMessageBox(const std::string& text, const std::string& caption, Buttons buttons,
                         Icon icon) {
  Uint32 flags = SDL_MESSAGEBOX_INFORMATION;
  if (icon == Icon::Exclamation) flags = SDL_MESSAGEBOX_WARNING;
  if (icon == Icon::Stop) flags = SDL_MESSAGEBOX_ERROR;

  // Enter answers Yes and Escape answers No, as on the desktop the game comes from.
  SDL_MessageBoxButtonData yesNo[] = {
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "Yes"},
      {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "No"},
  };
  SDL_MessageBoxButtonData ok[] = {
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 1, "OK"},
  };
  SDL_MessageBoxData data{};
  data.flags = flags;
  data.window = SdlGameWindow();
  data.title = caption.c_str();
  data.message = text.c_str();
  data.buttons = buttons == Buttons::YesNo ? yesNo : ok;
  data.numbuttons = buttons == Buttons::YesNo ? 2 : 1;

  int pressed = -1;
  if (!SdlHasDisplay() || SDL_ShowMessageBox(&data, &pressed) != 0) {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    if (SdlHasDisplay()) std::fprintf(stderr, "(message box not shown: %s)\n", SDL_GetError());
    return Answer::Failed;
  }
  if (buttons == Buttons::Ok) return Answer::Ok;
  return pressed == 1 ? Answer::Yes : Answer::No;
}

}  // namespace

Answer ShowMessageBox(const std::string& text, const std::string& caption, Buttons buttons,
                      Icon icon) {
  Answer answer = Answer::Failed;
  {
    // Our workers finish the job they are in and wait, holding nothing, until the box is
    // answered: the process SDL forks for it then inherits no lock held by one of them.
    WorkersHeld held;
    if (!held.allResting())
      std::fprintf(stderr, "quillon: a worker is still busy; the \"%s\" box comes anyway\n",
                   caption.c_str());
    answer = Handler() ? Handler()(text, caption, buttons, icon)
                       : ShowSdlMessageBox(text, caption, buttons, icon);
  }
  NoteMessageBoxAnswered();
  if (WindowSystem* system = CurrentWindowSystemIfAny()) system->keysCleared();
  return answer;
}

void SetMessageBoxHandler(MessageBoxHandler handler) {
  Handler() = std::move(handler);
}

}  // namespace platform
