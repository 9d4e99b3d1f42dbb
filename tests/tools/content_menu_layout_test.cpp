// The menu pictures put their texts where the menu screens draw over them: the main menu's
// entries inside the highlight frame's innermost rectangle, the title clear of it, and the
// selection screens' headings and keys clear of the arrows and inside the picture. Positions
// come from the real screens' drawing, captured in GL feedback mode.
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "content/menu_pictures.h"
#include "menu/car_selection.h"
#include "menu/game_setup.h"
#include "menu/main_menu.h"
#include "menu/track_selection.h"
#include "support/gl_fixture.h"

namespace {

using content::PlacedText;
using content::TextBox;

struct Rect {
  float x0, y0, x1, y1;  // window pixels, y up
};

Rect Bounds(const std::vector<testing_support::FeedbackVertex>& vertices) {
  Rect r{1e9f, 1e9f, -1e9f, -1e9f};
  for (const auto& v : vertices) {
    r.x0 = std::min(r.x0, v.x);
    r.y0 = std::min(r.y0, v.y);
    r.x1 = std::max(r.x1, v.x);
    r.y1 = std::max(r.y1, v.y);
  }
  return r;
}

class MenuLayout : public testing_support::GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 800.0 / 600.0, 0.1f, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
  }

  // The screen's background quad and the union of its triangles (the arrows), in window pixels.
  template <typename Draw>
  void capture(Draw draw) {
    auto polygons = testing_support::CaptureFeedback(draw);
    ASSERT_FALSE(polygons.empty());
    // The background comes first: one quad, or two triangles where GL splits it.
    size_t backgroundParts = polygons[0].vertices.size() == 4 ? 1 : 2;
    ASSERT_GE(polygons.size(), backgroundParts);
    std::vector<testing_support::FeedbackVertex> background, triangles;
    for (size_t i = 0; i < polygons.size(); ++i) {
      auto& into = i < backgroundParts ? background : triangles;
      into.insert(into.end(), polygons[i].vertices.begin(), polygons[i].vertices.end());
    }
    picture = Bounds(background);
    if (!triangles.empty()) arrows = toPicture(Bounds(triangles));
  }

  // A window rectangle in picture pixels (512 across, y down).
  TextBox toPicture(Rect r) const {
    auto px = [&](float x) { return (x - picture.x0) / (picture.x1 - picture.x0) * 512; };
    auto py = [&](float y) { return (picture.y1 - y) / (picture.y1 - picture.y0) * 512; };
    return {px(r.x0), py(r.y1), px(r.x1), py(r.y0)};
  }

  // One of the main menu's frame rectangles (innermost 0 .. outermost 4) at height y.
  TextBox frame(float y, int ring) const {
    GLdouble model[16], projection[16];
    GLint viewport[4];
    glLoadIdentity();
    glTranslatef(0, 0, -4.2f);
    glTranslatef(SelectionFrame.x, y, SelectionFrame.z);
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    float w = (1.6f + 0.3f * ring) / 2, h = (0.25f + 0.05f * ring) / 2;
    GLdouble x0, y0, x1, y1, z;
    gluProject(-w, -h, 0, model, projection, viewport, &x0, &y0, &z);
    gluProject(w, h, 0, model, projection, viewport, &x1, &y1, &z);
    return toPicture({float(x0), float(y0), float(x1), float(y1)});
  }

  Rect picture{};
  TextBox arrows{};
};

bool Inside(const TextBox& inner, const TextBox& outer) {
  return inner.x0 >= outer.x0 && inner.x1 <= outer.x1 && inner.y0 >= outer.y0 &&
         inner.y1 <= outer.y1;
}
bool Overlap(const TextBox& a, const TextBox& b) {
  return a.x0 < b.x1 && b.x0 < a.x1 && a.y0 < b.y1 && b.y0 < a.y1;
}
const TextBox kWholePicture{0, 0, 512, 512};

TEST_F(MenuLayout, MainMenuEntriesLieInsideTheHighlightFrame) {
  capture([] { DrawMainMenu(); });
  std::vector<PlacedText> texts = content::MainMenuTexts();
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[1].text, "Start race");
  EXPECT_EQ(texts[2].text, "Quit");
  EXPECT_TRUE(Inside(texts[1].box, frame(SelectionFrameStartY, 0)));
  EXPECT_TRUE(Inside(texts[2].box, frame(SelectionFrameQuitY, 0)));
  // The title stays clear of the largest rectangle round the upper entry.
  EXPECT_TRUE(Inside(texts[0].box, kWholePicture));
  EXPECT_FALSE(Overlap(texts[0].box, frame(SelectionFrameStartY, 4)));
  // Each entry is centred on its frame within a few pixels.
  for (auto [text, y] :
       {std::pair{texts[1], SelectionFrameStartY}, {texts[2], SelectionFrameQuitY}}) {
    TextBox f = frame(y, 0);
    EXPECT_NEAR((text.box.y0 + text.box.y1) / 2, (f.y0 + f.y1) / 2, 4) << text.text;
    EXPECT_NEAR((text.box.x0 + text.box.x1) / 2, (f.x0 + f.x1) / 2, 6) << text.text;
  }
}

TEST_F(MenuLayout, SelectionTextsKeepClearOfTheArrows) {
  struct Screen {
    const char* name;
    void (*draw)();
    std::vector<PlacedText> texts;
  };
  for (const Screen& screen : {Screen{"car", DrawCarSelection, content::CarMenuTexts()},
                               Screen{"track", DrawTrackSelection, content::TrackMenuTexts()}}) {
    capture(screen.draw);
    // The arrows are on the picture, and no text touches them.
    EXPECT_TRUE(Inside(arrows, kWholePicture)) << screen.name;
    for (const PlacedText& t : screen.texts) {
      EXPECT_TRUE(Inside(t.box, kWholePicture)) << screen.name << ": " << t.text;
      EXPECT_FALSE(Overlap(t.box, arrows)) << screen.name << ": " << t.text;
    }
  }
}

}  // namespace
