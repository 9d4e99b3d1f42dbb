// The controls screen: its rows, its keys and its drawing in the outline font.
#include "menu/controls_screen.h"

#include <GL/gl.h>

#include "assets/outline_font.h"
#include "game/controls.h"
#include "game/game_sounds.h"
#include "platform/frame_flags.h"
#include "platform/key_names.h"
#include "platform/keys.h"

ControlsView ControlsScreen;

namespace {

constexpr int Rows = ActionCount + 1;  // the actions, then the reset entry
constexpr int PadColumn = 2;
constexpr const char* ResetEntry = "Reset all to defaults";

bool IsPadKey(int key) {
  return key >= VK_GAMEPAD_A && key <= VK_GAMEPAD_LEFT_THUMBSTICK_LEFT;
}

// Ends the wait with the answer of the binding: kept and written, or refused with a line.
void Finish(Action action, std::optional<Action> refusal, const std::string& name) {
  ControlsView& view = ControlsScreen;
  view.waiting = false;
  // Whatever else the press held down (the keys a pad button also acts as) acts no further.
  ClearKeyState();
  if (!refusal) {
    SaveBinding(action);
    view.message.clear();
    PlaySound(Sound::Confirm);
  } else if (*refusal == action) {
    view.message = name + " is the game's own key";
  } else {
    view.message = name + " is taken by " + std::string(InfoOf(*refusal).title);
  }
}

void WaitingInput(Controls& controls) {
  ControlsView& view = ControlsScreen;
  const auto action = static_cast<Action>(view.row);
  if (TakeKeyPress(VK_ESCAPE)) {
    view.waiting = false;
    view.message.clear();
    ClearKeyState();
    PlaySound(Sound::Back);
    return;
  }
  for (int key = 1; key < KeyCount; ++key) {
    if (!KeyState[key] || IsPadKey(key) != (view.column == PadColumn)) continue;
    KeyState[key] = false;
    if (view.column == PadColumn) {
      Finish(action, controls.setPad(action, key), PadTitle(key));
      return;
    }
    const int scancode = platform::ScancodeOfVirtualKey(key);
    if (scancode == 0) continue;
    Finish(action, controls.setKey(action, view.column, scancode),
           platform::KeyNameInLayout(scancode));
    return;
  }
}

}  // namespace

std::string ControlsCellText(int row, int column) {
  if (row == ActionCount) return column == 0 ? ResetEntry : "";
  if (row < 0 || row > ActionCount || column < 0 || column > PadColumn + 1) return {};
  const auto action = static_cast<Action>(row);
  const Binding& binding = GameControls()[action];
  if (column == 0) return std::string(InfoOf(action).title);
  if (column == PadColumn + 1) return binding.pad ? PadTitle(binding.pad) : "-";
  const int key = binding.keys[column - 1];
  return key ? platform::KeyNameInLayout(key) : "-";
}

void OpenControlsScreen() {
  ControlsScreen = ControlsView{};
  ScreenState = ControlsScreenNumber;
}

void ControlsScreenInput() {
  Controls& controls = GameControls();
  ControlsView& view = ControlsScreen;
  if (view.waiting) return WaitingInput(controls);
  if (TakeAction(controls, Action::MenuBack)) {
    PlaySound(Sound::Back);
    ScreenState = 0;
    return;
  }
  if (TakeAction(controls, Action::MenuDown) && view.row < Rows - 1) {
    ++view.row;
    PlaySound(Sound::Tick);
  }
  if (TakeAction(controls, Action::MenuUp) && view.row > 0) {
    --view.row;
    PlaySound(Sound::Tick);
  }
  if (TakeAction(controls, Action::MenuRight) && view.column < PadColumn) {
    ++view.column;
    PlaySound(Sound::Tick);
  }
  if (TakeAction(controls, Action::MenuLeft) && view.column > 0) {
    --view.column;
    PlaySound(Sound::Tick);
  }
  const bool actionRow = view.row < ActionCount;
  const auto action = static_cast<Action>(view.row);
  if ((TakeKeyPress(VK_BACK) || TakeKeyPress(VK_DELETE)) && actionRow) {
    if (view.column == PadColumn) {
      controls.setPad(action, 0);
    } else {
      controls.setKey(action, view.column, 0);
    }
    SaveBinding(action);
  }
  if (TakeAction(controls, Action::MenuTake)) {
    PlaySound(Sound::Confirm);
    if (!actionRow) {
      controls.reset();
      for (int i = 0; i < ActionCount; ++i) SaveBinding(static_cast<Action>(i));
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
  glColor3f(0.5f, 0.5f, 0.0f);
  line(0.0f, 10.6f, 1.2f, "Controls");
  const float columnsX[] = {-9.5f, -2.0f, 3.5f, 10.0f};
  for (int row = 0; row < Rows; ++row) {
    const float y = 8.6f - static_cast<float>(row) * 1.1f;
    for (int column = 0; column < 4; ++column) {
      const std::string text = ControlsCellText(row, column);
      if (text.empty()) continue;
      const bool chosen =
          row == view.row && (row == ActionCount ? column == 0 : column == view.column + 1);
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
