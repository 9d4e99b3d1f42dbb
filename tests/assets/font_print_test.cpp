// BuildFont and PrintText in a headless GL context: glyph lists, advances, centring, the list
// base, long texts and texts printed before the font exists in the current context.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <string>

#include "assets/outline_font.h"
#include "assets/text_width.h"
#include "platform/gl_context_generation.h"
#include "support/gl_fixture.h"

namespace {

using testing_support::CaptureFeedback;

class FontGlTest : public testing_support::GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    BuildFont();
    glMatrixMode(GL_PROJECTION);
    glOrtho(-10, 10, -10, 10, -1, 1);
    glMatrixMode(GL_MODELVIEW);
  }
  static float TranslationX() {
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    return m[12];
  }
  // Polygons in the list of one code, seen from the front (edge-on walls are left out).
  static size_t PolygonCount(unsigned char code) {
    glPushMatrix();
    size_t count = CaptureFeedback([&] { glCallList(GlyphList(code)); }).size();
    glPopMatrix();
    return count;
  }
};

TEST_F(FontGlTest, EveryPrintableCharacterHasASolidGlyphAndAnAdvance) {
  ASSERT_NE(FontListBase, 0u);
  std::string printable = "\x80\xC4\xD6\xDC\xE4\xE9\xF6\xFC\xDF";
  for (int c = 0x21; c < 0x7F; ++c) printable += static_cast<char>(c);
  for (unsigned char c : printable) {
    EXPECT_GE(PolygonCount(c), 4u) << c;
    EXPECT_GT(GlyphMetrics[c].cellIncX, 0.1f) << c;
    EXPECT_GT(GlyphMetrics[c].blackBoxX * GlyphMetrics[c].blackBoxY, 0.0f) << c;
  }
  // A space only advances; code 255 neither draws nor advances.
  EXPECT_EQ(PolygonCount(' '), 0u);
  EXPECT_GT(GlyphMetrics[' '].cellIncX, 0.2f);
  EXPECT_EQ(PolygonCount(255), 0u);
  EXPECT_EQ(GlyphMetrics[255].cellIncX, 0.0f);
  EXPECT_TRUE(glIsList(FontListBase + 255));
}

TEST_F(FontGlTest, GlyphHasAFrontAtZeroABackAtMinusExtrusionAndSideWalls) {
  // With this projection z = 0 maps to a window depth of 0.5 and z = -0.08 to 0.54.
  int front = 0, back = 0;
  for (const auto& polygon : CaptureFeedback([&] { glCallList(GlyphList('O')); })) {
    const auto& v = polygon.vertices;
    ASSERT_EQ(v.size(), 3u);
    bool isFront = std::abs(v[0].z - 0.5f) < 1e-4f;
    front += isFront;
    back += !isFront;
    EXPECT_NEAR(v[0].z, isFront ? 0.5f : 0.54f, 1e-4f);
  }
  EXPECT_GT(front, 0);
  EXPECT_EQ(front, back);
  // Seen from the side the faces are edge-on and only the walls round both contours show.
  glRotatef(90, 0, 1, 0);
  size_t walls = 0;
  for (const auto& polygon : CaptureFeedback([&] { glCallList(GlyphList('O')); })) {
    const auto& v = polygon.vertices;
    walls +=
        std::any_of(v.begin(), v.end(), [&](auto& c) { return std::abs(c.z - v[0].z) > 1e-4f; });
  }
  EXPECT_GT(walls, 60u);
  // The list moves the drawing position by the glyph's increment.
  glLoadIdentity();
  glCallList(GlyphList('O'));
  EXPECT_FLOAT_EQ(TranslationX(), GlyphMetrics['O'].cellIncX);
}

TEST_F(FontGlTest, PrintTextCentresCutsLongTextsAndRestoresTheListBase) {
  PrintText("Laps left: %i", 3);
  EXPECT_NEAR(TranslationX(), TextWidth("Laps left: 3") / 2, 1e-5);
  EXPECT_NEAR(TextWidth("AV"), GlyphMetrics['A'].cellIncX + GlyphMetrics['V'].cellIncX, 1e-6);
  // Each glyph's list moves on by its increment, so the letters follow one another from -w/2.
  glLoadIdentity();
  float leftmost = 1e9f;
  for (const auto& polygon : CaptureFeedback([] { PrintText("AV"); })) {
    for (const auto& v : polygon.vertices) leftmost = std::min(leftmost, (v.x / 400 - 1) * 10);
  }
  EXPECT_NEAR(leftmost, -TextWidth("AV") / 2 + GlyphMetrics['A'].glyphOriginX, 1e-3);
  // An empty text calls no list; the list base is the caller's again afterwards.
  glLoadIdentity();
  glListBase(42);
  EXPECT_TRUE(CaptureFeedback([] { PrintText("%s", ""); }).empty());
  EXPECT_EQ(TranslationX(), 0.0f);
  PrintText("GO");
  PrintText(nullptr);
  GLint base = 0;
  glGetIntegerv(GL_LIST_BASE, &base);
  EXPECT_EQ(base, 42);
  glListBase(0);
  // A 300-character text is cut to 255.
  glLoadIdentity();
  size_t perGlyph = CaptureFeedback([] { PrintText("W"); }).size();
  glLoadIdentity();
  glScalef(0.05f, 0.05f, 0.05f);
  std::string longText(300, 'W');
  EXPECT_EQ(CaptureFeedback([&] { PrintText("%s", longText.c_str()); }).size(), 255 * perGlyph);
  EXPECT_NEAR(TranslationX(), 0.05f * 255 * GlyphMetrics['W'].cellIncX / 2, 1e-3);
  EXPECT_NEAR(TextWidth(longText), 255 * GlyphMetrics['W'].cellIncX, 1e-3);
}

// Texts are drawn with the faces turned away culled; every glyph must still look exactly as
// the whole solid does, from the front, turned, from behind and without the depth test.
TEST_F(FontGlTest, CullingTheHiddenFacesLeavesEveryTextAsTheWholeSolidLooks) {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glFrustum(-0.1, 0.1, -0.075, 0.075, 0.1, 100);
  glMatrixMode(GL_MODELVIEW);
  const std::string text = "Kaboom!!! 0123456789 @&%$ \xC4\xD6\xDC\xDF";
  for (float angle : {0.0f, 35.0f, 80.0f, 150.0f, 180.0f, 260.0f}) {
    for (bool depth : {true, false}) {
      auto draw = [&](bool whole) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        depth ? glEnable(GL_DEPTH_TEST) : glDisable(GL_DEPTH_TEST);
        glLoadIdentity();
        glTranslatef(0.0f, -0.1f, -12.0f);
        glRotatef(angle, 0.2f, 1.0f, 0.0f);
        glColor3f(1.0f, 1.0f, 0.0f);
        if (!whole) return PrintText("%s", text.c_str());
        glTranslatef(-0.5f * TextWidth(text), 0, 0);
        for (unsigned char c : text) glCallList(GlyphList(c));
      };
      draw(false);
      const std::vector<unsigned char> culled = framebuffer();
      draw(true);
      const std::vector<unsigned char> whole = framebuffer();
      size_t lit = 0, differ = 0;
      for (size_t i = 0; i < whole.size(); i += 3) {
        lit += whole[i] != 0;
        differ += !std::equal(&whole[i], &whole[i] + 3, &culled[i]);
      }
      // A pixel whose centre falls exactly on a silhouette edge may go to the culled face.
      EXPECT_LE(differ, lit / 2000) << "angle " << angle << (depth ? "" : ", no depth test");
      EXPECT_GT(lit, 5000u) << angle;
    }
  }
  glEnable(GL_DEPTH_TEST);
}

TEST_F(FontGlTest, RebuildingInANewContextMakesFreshListsAndStaleOnesAreNeverCalled) {
  const GLuint first = FontListBase;
  const float increment = GlyphMetrics['R'].cellIncX;
  // The lists of the old context are not called: their numbers may name other objects now.
  platform::AdvanceGlContextGeneration();
  EXPECT_TRUE(CaptureFeedback([] { PrintText("READY"); }).empty());
  BuildFont();
  EXPECT_NE(FontListBase, first);
  EXPECT_EQ(GlyphMetrics['R'].cellIncX, increment);
  glLoadIdentity();
  EXPECT_FALSE(CaptureFeedback([] { PrintText("READY"); }).empty());
}

}  // namespace
