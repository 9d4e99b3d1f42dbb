// The menu pictures put their texts where the menu screens draw over them: the main menu's
// entries centred in the highlight frame, the title clear of it, and the selection screens'
// texts on the picture and clear of the arrows. Positions come from the screens' own drawing,
// captured in GL feedback mode.
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "content/menu_pictures.h"
#include "menu/car_selection.h"
#include "menu/main_menu.h"
#include "menu/track_selection.h"
#include "support/gl_fixture.h"

namespace {

using content::PlacedText;
using content::TextBox;

const TextBox kWholePicture{0, 0, 512, 512};

bool Inside(const TextBox& inner, const TextBox& outer) {
  return inner.x0 >= outer.x0 && inner.x1 <= outer.x1 && inner.y0 >= outer.y0 &&
         inner.y1 <= outer.y1;
}
bool Overlap(const TextBox& a, const TextBox& b) {
  return a.x0 < b.x1 && b.x0 < a.x1 && a.y0 < b.y1 && b.y0 < a.y1;
}

// In window pixels, y up.
TextBox Bounds(const std::vector<testing_support::FeedbackVertex>& vertices) {
  TextBox r{1e9f, 1e9f, -1e9f, -1e9f};
  for (const auto& v : vertices)
    r = {std::min(r.x0, v.x), std::min(r.y0, v.y), std::max(r.x1, v.x), std::max(r.y1, v.y)};
  return r;
}

class MenuLayout : public testing_support::GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    useGameProjection();
  }

  // Records the screen's background quad (drawn first, maybe split into two triangles) and
  // the bounds of the rest, the arrows, in picture pixels.
  void capture(void (*draw)()) {
    auto polygons = testing_support::CaptureFeedback(draw);
    ASSERT_FALSE(polygons.empty());
    size_t backgroundParts = polygons[0].vertices.size() == 4 ? 1 : 2;
    std::vector<testing_support::FeedbackVertex> background, rest;
    for (size_t i = 0; i < polygons.size(); ++i) {
      auto& into = i < backgroundParts ? background : rest;
      into.insert(into.end(), polygons[i].vertices.begin(), polygons[i].vertices.end());
    }
    picture = Bounds(background);
    if (!rest.empty()) arrows = toPicture(Bounds(rest));
  }

  // A window rectangle in picture pixels (512 across, y down).
  TextBox toPicture(TextBox r) const {
    auto px = [&](float x) { return (x - picture.x0) / (picture.x1 - picture.x0) * 512; };
    auto py = [&](float y) { return (picture.y1 - y) / (picture.y1 - picture.y0) * 512; };
    return {px(r.x0), py(r.y1), px(r.x1), py(r.y0)};
  }

  // One of the main menu's frame rectangles (innermost 0 .. outermost 4) at height y.
  TextBox frame(float y, int ring) const {
    GLdouble model[16], projection[16];
    GLint viewport[4];
    glLoadIdentity();
    glTranslatef(SelectionFrame.x, y, SelectionFrame.z - 4.2f);
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    float w = (1.6f + 0.3f * ring) / 2, h = (0.25f + 0.05f * ring) / 2;
    GLdouble x0, y0, x1, y1, z;
    gluProject(-w, -h, 0, model, projection, viewport, &x0, &y0, &z);
    gluProject(w, h, 0, model, projection, viewport, &x1, &y1, &z);
    return toPicture({float(x0), float(y0), float(x1), float(y1)});
  }

  TextBox picture{}, arrows{};
};

TEST_F(MenuLayout, MainMenuEntriesLieCentredInTheHighlightFrame) {
  capture(DrawMainMenu);
  std::vector<PlacedText> texts = content::MainMenuTexts();
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_TRUE(Inside(texts[0].box, kWholePicture));
  EXPECT_FALSE(Overlap(texts[0].box, frame(SelectionFrameStartY, 4))) << "title under the frame";
  for (auto [text, y] :
       {std::pair{texts[1], SelectionFrameStartY}, {texts[2], SelectionFrameQuitY}}) {
    TextBox f = frame(y, 0);
    EXPECT_TRUE(Inside(text.box, f)) << text.text;
    EXPECT_NEAR((text.box.y0 + text.box.y1) / 2, (f.y0 + f.y1) / 2, 4) << text.text;
    EXPECT_NEAR((text.box.x0 + text.box.x1) / 2, (f.x0 + f.x1) / 2, 6) << text.text;
  }
  EXPECT_EQ(texts[1].text, "Start race");
  EXPECT_EQ(texts[2].text, "Quit");
}

TEST_F(MenuLayout, SelectionTextsKeepClearOfTheArrows) {
  for (auto [draw, texts] : {std::pair{&DrawCarSelection, content::CarMenuTexts()},
                             {&DrawTrackSelection, content::TrackMenuTexts()}}) {
    capture(draw);
    EXPECT_TRUE(Inside(arrows, kWholePicture));
    for (const PlacedText& t : texts) {
      EXPECT_TRUE(Inside(t.box, kWholePicture)) << t.text;
      EXPECT_FALSE(Overlap(t.box, arrows)) << t.text;
    }
  }
}

}  // namespace
