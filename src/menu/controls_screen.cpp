// The controls screen: its rows, its keys and its drawing in the outline font.
#include "menu/controls_screen.h"

#include <GL/gl.h>

#include "assets/outline_font.h"
#include "game/action_input.h"
#include "game/game_sounds.h"
#include "game/player_colours.h"
#include "game/players.h"
#include "platform/frame_flags.h"
#include "platform/key_names.h"
#include "platform/keys.h"

ControlsView ControlsScreen;

namespace {

// The actions of a player's page, then the reset entry.
int ActionsOf(int player) {
  return player == 2 ? SecondPlayerActionCount : ActionCount;
}
int RowsOf(int player) {
  return ActionsOf(player) + 1;
}
constexpr int PadColumn = 2;
constexpr const char* ResetEntry = "Reset all to defaults";

bool IsPadKey(int key) {
  return key >= VK_GAMEPAD_A && key <= VK_GAMEPAD_LEFT_THUMBSTICK_LEFT;
}

// The pad button a key is for a player's page, 0 for none: the first pad's, and on player two's
// page the second pad's too (so one pad can set up both players).
int PadButtonOf(int key, int player) {
  if (IsPadKey(key)) return key;
  return player == 2 && IsPadKey(key - SecondPadKeys) ? key - SecondPadKeys : 0;
}

// Ends the wait with the answer of the binding: kept and written, or refused with a line.
void Finish(Action action, std::optional<Refusal> refusal, const std::string& name) {
  ControlsView& view = ControlsScreen;
  view.waiting = false;
  // Whatever else the press held down (the keys a pad button also acts as) acts no further.
  ClearKeyState();
  if (!refusal) {
    SaveBinding(action, view.player);
    view.message.clear();
    PlaySound(Sound::Confirm);
  } else if (refusal->action == action && refusal->player == view.player) {
    view.message = name + " is the game's own key";
  } else if (refusal->player != view.player) {
    view.message = name + " is taken by player " + std::to_string(refusal->player) + "'s " +
                   std::string(InfoOf(refusal->action).title);
  } else {
    view.message = name + " is taken by " + std::string(InfoOf(refusal->action).title);
  }
}

void WaitingInput(Controls& controls) {
  ControlsView& view = ControlsScreen;
  const auto action = static_cast<Action>(view.row);
  // Escape cancels, and on player two's page their pad's Back too (the first pad's is Escape).
  const bool back = view.player == 2 && TakeKeyPress(VK_GAMEPAD_VIEW + SecondPadKeys);
  if (TakeKeyPress(VK_ESCAPE) || back) {
    view.waiting = false;
    view.message.clear();
    ClearKeyState();
    PlaySound(Sound::Back);
    return;
  }
  for (int key = 1; key < KeyCount; ++key) {
    const int pad = PadButtonOf(key, view.player);
    if (!KeyState[key] || (pad != 0) != (view.column == PadColumn)) continue;
    KeyState[key] = false;
    if (view.column == PadColumn) {
      const auto holder = controls.setPad(action, pad);
      Finish(action, holder ? std::optional<Refusal>(Refusal{*holder, view.player}) : std::nullopt,
             PadTitle(pad));
      return;
    }
    const int scancode = platform::ScancodeOfVirtualKey(key);
    if (scancode == 0) continue;
    Finish(action, controls.bindKey(action, view.column, scancode),
           platform::KeyNameInLayout(scancode));
    return;
  }
}

}  // namespace

std::string ControlsCellText(int row, int column, int player) {
  const int actions = ActionsOf(player);
  if (row == actions) return column == 0 ? ResetEntry : "";
  if (row < 0 || row > actions || column < 0 || column > PadColumn + 1) return {};
  const auto action = static_cast<Action>(row);
  const Binding& binding = GameControls(player)[action];
  if (column == 0) return std::string(InfoOf(action).title);
  if (column == PadColumn + 1) return binding.pad ? PadTitle(binding.pad) : "-";
  const int key = binding.keys[column - 1];
  return key ? platform::KeyNameInLayout(key) : "-";
}

void OpenControlsScreen() {
  ControlsScreen = ControlsView{};
  ScreenState = screen::Controls;
}

void ControlsScreenInput() {
  ControlsView& view = ControlsScreen;
  // The menu keys are player one's on both pages.
  const Controls& menu = GameControls();
  Controls& controls = GameControls(view.player);
  if (view.waiting) return WaitingInput(controls);
  if (TakeAction(menu, Action::MenuBack)) {
    PlaySound(Sound::Back);
    ScreenState = screen::MainMenu;
    return;
  }
  if (TakeKeyPress(VK_TAB)) {
    const int other = view.player % MaxPlayers + 1;
    view = ControlsView{};
    view.player = other;
    PlaySound(Sound::Tick);
    return;
  }
  const int rows = RowsOf(view.player);
  if (TakeAction(menu, Action::MenuDown) && view.row < rows - 1) {
    ++view.row;
    PlaySound(Sound::Tick);
  }
  if (TakeAction(menu, Action::MenuUp) && view.row > 0) {
    --view.row;
    PlaySound(Sound::Tick);
  }
  if (TakeAction(menu, Action::MenuRight) && view.column < PadColumn) {
    ++view.column;
    PlaySound(Sound::Tick);
  }
  if (TakeAction(menu, Action::MenuLeft) && view.column > 0) {
    --view.column;
    PlaySound(Sound::Tick);
  }
  const bool actionRow = view.row < ActionsOf(view.player);
  const auto action = static_cast<Action>(view.row);
  if ((TakeKeyPress(VK_BACK) || TakeKeyPress(VK_DELETE)) && actionRow) {
    if (view.column == PadColumn) {
      controls.setPad(action, 0);
    } else {
      controls.setKey(action, view.column, 0);
    }
    SaveBinding(action, view.player);
  }
  if (TakeAction(menu, Action::MenuTake)) {
    PlaySound(Sound::Confirm);
    if (!actionRow) {
      // Both players' defaults together: each page's alone could clash with the other's keys.
      for (int player = 1; player <= 2; ++player) {
        GameControls(player).reset();
        for (int i = 0; i < ActionsOf(player); ++i) SaveBinding(static_cast<Action>(i), player);
      }
      view.message = "Every control is back to its default";
      return;
    }
    view.waiting = true;
    const std::string title(InfoOf(action).title);
    view.message = view.column == PadColumn ? "Press a pad button for " + title + " (Back cancels)"
                                            : "Press a key for " + title + " (Escape cancels)";
  }
}

void DrawControlsScreen() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_DEPTH_TEST);
  const ControlsView& view = ControlsScreen;
  // One line of text centred on (x, y) at the depth of the race's messages.
  const auto line = [](float x, float y, float scale, const std::string& text) {
    glLoadIdentity();
    glTranslatef(x, y, -30.0f);
    glScalef(scale, scale, scale);
    PrintText("%s", text.c_str());
  };
  const int player = view.player;
  if (player == 2) {
    glColor3f(SecondPlayerColour.red, SecondPlayerColour.green, SecondPlayerColour.blue);
  } else {
    glColor3f(0.5f, 0.5f, 0.0f);
  }
  line(0.0f, 10.6f, 1.2f, player == 2 ? "Player 2 controls" : "Controls");
  glColor3f(0.6f, 0.6f, 0.6f);
  line(12.5f, 10.6f, 0.6f, ControlsPageHint[player - 1]);
  const float columnsX[] = {-9.5f, -2.0f, 3.5f, 10.0f};
  const int actions = ActionsOf(player);
  for (int row = 0; row < RowsOf(player); ++row) {
    const float y = 8.6f - static_cast<float>(row) * 1.1f;
    for (int column = 0; column < 4; ++column) {
      const std::string text = ControlsCellText(row, column, player);
      if (text.empty()) continue;
      const bool chosen =
          row == view.row && (row == actions ? column == 0 : column == view.column + 1);
      if (chosen) {
        glColor3f(1.0f, 1.0f, 0.0f);
      } else if (column == 0) {
        glColor3f(0.6f, 0.6f, 1.0f);
      } else {
        glColor3f(0.0f, 0.7f, 0.7f);
      }
      line(columnsX[column], y, 0.8f, text);
    }
  }
  glColor3f(1.0f, 0.5f, 0.4f);
  if (!view.message.empty()) line(0.0f, -10.0f, 0.8f, view.message);
  glColor3f(0.6f, 0.6f, 0.6f);
  line(0.0f, -11.6f, 0.6f,
       "Up, Down, Left, Right: choose   Enter: change   Backspace: clear   Escape: back");
  glEnable(GL_DEPTH_TEST);
}

void DrawControlsHint() {
  glLoadIdentity();
  glDisable(GL_DEPTH_TEST);
  glColor3f(0.6f, 0.6f, 1.0f);
  glTranslatef(0.0f, -12.0f, -30.0f);
  glScalef(0.6f, 0.6f, 0.6f);
  PrintText("%s", ControlsHint);
  glEnable(GL_DEPTH_TEST);
  glColor3f(1.0f, 1.0f, 1.0f);
}
