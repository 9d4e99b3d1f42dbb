// BuildFont and PrintText in a headless GL context: glyph lists, advances, centring, the list
// base, long texts and texts printed before the font exists in the current context.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <string>

#include "assets/outline_font.h"
#include "platform/gl_context_generation.h"
#include "support/gl_fixture.h"

namespace {

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
  static const GlyphMetric& Glyph(unsigned char c) { return GlyphMetrics[c]; }
  static float Advance(const std::string& text) {
    float sum = 0;
    for (unsigned char c : text) sum += GlyphMetrics[c].cellIncX;
    return sum;
  }
  // Polygons in the list of one code, seen from the front (edge-on walls are left out).
  static size_t PolygonCount(unsigned char code) {
    glPushMatrix();
    size_t count =
        testing_support::CaptureFeedback([&] { glCallList(FontListBase + code); }).size();
    glPopMatrix();
    return count;
  }
};

TEST_F(FontGlTest, EveryPrintableCharacterHasASolidGlyphAndAnAdvance) {
  ASSERT_NE(FontListBase, 0u);
  std::string printable;
  for (int c = 0x21; c < 0x7F; ++c) printable += static_cast<char>(c);
  printable += "\x80\xC4\xD6\xDC\xE4\xE9\xF6\xFC\xDF";
  for (unsigned char c : printable) {
    EXPECT_GE(PolygonCount(c), 4u) << c;
    EXPECT_GT(GlyphMetrics[c].cellIncX, 0.1f) << c;
    EXPECT_GT(GlyphMetrics[c].blackBoxX, 0.0f) << c;
    EXPECT_GT(GlyphMetrics[c].blackBoxY, 0.0f) << c;
  }
  // A space only advances; code 255 neither draws nor advances.
  EXPECT_EQ(PolygonCount(' '), 0u);
  EXPECT_GT(Glyph(' ').cellIncX, 0.2f);
  EXPECT_EQ(PolygonCount(255), 0u);
  EXPECT_EQ(GlyphMetrics[255].cellIncX, 0.0f);
  EXPECT_TRUE(glIsList(FontListBase + 255));
}

TEST_F(FontGlTest, GlyphHasAFrontAtZeroABackAtMinusExtrusionAndSideWalls) {
  // With this projection z = 0 maps to a window depth of 0.5 and z = -0.08 to 0.54.
  auto polygons = testing_support::CaptureFeedback([&] { glCallList(FontListBase + 'O'); });
  int front = 0, back = 0;
  for (const auto& polygon : polygons) {
    const auto& v = polygon.vertices;
    ASSERT_EQ(v.size(), 3u);
    double area = 0;
    for (size_t i = 0; i < v.size(); ++i) {
      const auto& a = v[i];
      const auto& b = v[(i + 1) % v.size()];
      area += a.x * b.y - b.x * a.y;
    }
    if (std::abs(v[0].z - 0.5f) < 1e-4f) {
      ++front;
      EXPECT_GT(area, 0) << "front faces turn counter-clockwise towards +z";
    } else {
      ++back;
      EXPECT_NEAR(v[0].z, 0.54f, 1e-4f);
      EXPECT_LT(area, 0) << "back faces turn away from +z";
    }
  }
  EXPECT_GT(front, 0);
  EXPECT_EQ(front, back);
  // Seen from the side the faces are edge-on and only the walls round both contours show.
  glPushMatrix();
  glRotatef(90, 0, 1, 0);
  polygons = testing_support::CaptureFeedback([&] { glCallList(FontListBase + 'O'); });
  glPopMatrix();
  size_t walls = 0;
  for (const auto& polygon : polygons) {
    const auto& v = polygon.vertices;
    bool flat = true;
    for (const auto& corner : v) flat = flat && std::abs(corner.z - v[0].z) < 1e-4f;
    walls += !flat;
  }
  EXPECT_GT(walls, 60u);
  // The list moves the drawing position by the glyph's increment.
  glLoadIdentity();
  glCallList(FontListBase + 'O');
  EXPECT_FLOAT_EQ(TranslationX(), Glyph('O').cellIncX);
}

TEST_F(FontGlTest, PrintTextCentresOnTheOriginAndLeavesHalfTheWidth) {
  PrintText("Laps left: %i", 3);
  EXPECT_NEAR(TranslationX(), Advance("Laps left: 3") / 2, 1e-5);
  // Each glyph's list moves on by its increment, so the letters follow one another from -w/2.
  glLoadIdentity();
  auto polygons = testing_support::CaptureFeedback([] { PrintText("AV"); });
  float leftmost = 1e9f;
  for (const auto& polygon : polygons) {
    for (const auto& v : polygon.vertices) leftmost = std::min(leftmost, (v.x / 400 - 1) * 10);
  }
  EXPECT_NEAR(leftmost, -Advance("AV") / 2 + Glyph('A').glyphOriginX, 1e-3);
}

TEST_F(FontGlTest, EmptyTextCallsNoListLongTextIsCutAndTheListBaseIsRestored) {
  glListBase(42);
  auto polygons = testing_support::CaptureFeedback([] { PrintText("%s", ""); });
  EXPECT_TRUE(polygons.empty());
  EXPECT_EQ(TranslationX(), 0.0f);
  PrintText("GO");
  GLint base = 0;
  glGetIntegerv(GL_LIST_BASE, &base);
  EXPECT_EQ(base, 42);
  PrintText(nullptr);
  glListBase(0);

  // A 300-character text is cut to 255.
  std::string longText(300, 'W');
  size_t perGlyph = PolygonCount('W');
  glLoadIdentity();
  glScalef(0.05f, 0.05f, 0.05f);
  polygons = testing_support::CaptureFeedback([&] { PrintText("%s", longText.c_str()); });
  EXPECT_EQ(polygons.size(), 255 * perGlyph);
  EXPECT_NEAR(TranslationX(), 0.05f * 255 * Glyph('W').cellIncX / 2, 1e-3);
}

TEST_F(FontGlTest, RebuildingInANewContextMakesFreshListsAndStaleOnesAreNeverCalled) {
  GLuint first = FontListBase;
  float increment = Glyph('R').cellIncX;
  platform::AdvanceGlContextGeneration();
  // The lists of the old context are not called: their numbers may name other objects now.
  auto polygons = testing_support::CaptureFeedback([] { PrintText("READY"); });
  EXPECT_TRUE(polygons.empty());
  BuildFont();
  EXPECT_NE(FontListBase, first);
  EXPECT_EQ(Glyph('R').cellIncX, increment);
  glLoadIdentity();
  polygons = testing_support::CaptureFeedback([] { PrintText("READY"); });
  EXPECT_FALSE(polygons.empty());
}

}  // namespace
