// A headless 800 by 600 GL context for benchmarks, made once per process and left in the state
// the game window sets up: its projection and the fixed GL state every screen relies on.
#pragma once

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "assets/outline_font.h"
#include "game/game_setup.h"
#include "platform/headless_gl.h"
#include "platform/message_box.h"

inline void UseGameContext() {
  static std::unique_ptr<platform::HeadlessGl> gl;
  if (gl) return;
  gl = platform::HeadlessGl::Create(800, 600);
  if (!gl) {
    std::fprintf(stderr, "no headless GL context\n");
    std::exit(1);
  }
  glMatrixMode(GL_PROJECTION);
  gluPerspective(45.0, 800.0 / 600.0, static_cast<double>(0.1f), 100.0);
  glMatrixMode(GL_MODELVIEW);
  glEnable(GL_POLYGON_SMOOTH);
  glShadeModel(GL_SMOOTH);
  glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
}

// The game context with every picture, model and the font loaded; a box is printed, not shown.
inline void LoadGameQuietly() {
  UseGameContext();
  platform::SetMessageBoxHandler(
      [](const std::string& text, const std::string&, platform::Buttons, platform::Icon) {
        std::fprintf(stderr, "(box) %s\n", text.c_str());
        return platform::Answer::Ok;
      });
  GameSetup();
  BuildFont();
  platform::SetMessageBoxHandler({});
}
