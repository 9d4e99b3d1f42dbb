// The three built-in tracks, their loading into the track table and the entries left alone.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/bmp_writer.h"
#include "platform/gl_context_generation.h"
#include "support/box_recorder.h"
#include "support/gl_fixture.h"
#include "support/scratch_folder.h"
#include "track/track.h"
#include "track/track_definitions.h"

namespace {

// Runs in a scratch folder whose Data/ holds only the bitmaps a test writes.
class DefineTracksTest : public testing_support::GlTest {
 protected:
  testing_support::ScratchFolder scratch;
};

// The shapes, widths and laps that drive are pinned by the built-in races; here what they
// cannot see: the names shown, the lines rebuilt (not appended) and the textures of the files.
TEST_F(DefineTracksTest, NamesFilesAndLinesRebuiltOfTheThreeTracks) {
  for (const char* name : {"Data/border.bmp", "Data/Road2.bmp"}) {
    ASSERT_TRUE(formats::WriteBmpFile(name, formats::Picture(2, 2, {200, 10, 10})));
  }
  DefineTracks();
  DefineTracks();  // again after a display-mode toggle: the lines are rebuilt, not appended
  const char* names[] = {"Sunny", "BlueSky", "Yello"};
  const size_t points[] = {481, 521, 481};
  for (int index = 0; index < BuiltInTrackCount; ++index) {
    SCOPED_TRACE(index);
    const Track& track = TrackTable[index];
    EXPECT_EQ(track.name, names[index]);
    EXPECT_EQ(track.curve.points.size(), points[index]);
    EXPECT_EQ(track.banner.displayList + track.skyTexture, 0u);  // no banner or sky files
  }
  EXPECT_TRUE(BuiltInTrackCurve(3).points.empty());
  EXPECT_TRUE(BuiltInTrackCurve(-1).points.empty());
  // "Data/Road.bmp" is missing: both tracks that use it go untextured, nothing else changes.
  EXPECT_EQ(TrackTable[0].roadTexture + TrackTable[1].roadTexture, 0u);
  EXPECT_NE(TrackTable[0].borderTexture, 0u);
  EXPECT_EQ(TrackTable[1].borderTexture, 0u);
  EXPECT_NE(TrackTable[2].roadTexture, 0u);
  EXPECT_TRUE(TrackTable[BuiltInTrackCount].curve.points.empty());  // the entries after: untouched
}

// Skies are only checked when the tracks are defined (a broken one's box in file order); a race
// start loads the raced sky and frees the others; names of an earlier context are forgotten,
// never deleted.
TEST_F(DefineTracksTest, OnlyTheRacedTrackHasASkyTextureAndItIsThePicture) {
  testing_support::BoxRecorder recorder;
  std::vector<std::string>& boxes = recorder.texts;
  auto write = formats::WriteBytesToFile;
  std::vector<uint8_t> unknown = formats::EncodeBmp(formats::Picture(2, 2)), cut = unknown;
  unknown[14] = 20;  // no such header size
  cut.pop_back();
  write("Data/border.bmp", unknown);  // track 0, before its sky
  write("Data/Sky.bmp", cut);
  write("Data/border1.bmp", unknown);  // track 1, after the broken sky
  const formats::Rgb green{10, 200, 30}, blue{20, 40, 220};
  write("Data/SkyBleuetForet.bmp", formats::EncodeBmp(formats::Picture(4, 2, green)));
  write("Data/SkyNocturne.bmp", formats::EncodeBmp(formats::Picture(4, 2, blue)));

  auto skies = [] {
    std::vector<GLuint> names;
    for (const Track& track : TrackTable) names.push_back(track.skyTexture);
    return names;
  };
  auto texel = [](GLuint texture) {
    const std::vector<uint8_t> pixels = testing_support::TextureRgb(texture);
    return formats::Rgb{pixels.at(21), pixels.at(22), pixels.at(23)};
  };
  const std::vector<GLuint> none(TrackTableSize, 0);
  DefineTracks();
  EXPECT_EQ(boxes,
            (std::vector<std::string>{"Unknown DIB file format.", "Image file conversion error.",
                                      "Unknown DIB file format."}));
  EXPECT_EQ(skies(), none);

  boxes.clear();
  UseSkyOf(TrackTable[1]);
  const GLuint first = TrackTable[1].skyTexture;
  ASSERT_NE(first, 0u);
  EXPECT_EQ(texel(first), green);
  UseSkyOf(TrackTable[1]);  // raced again: the same texture
  EXPECT_EQ(TrackTable[1].skyTexture, first);
  UseSkyOf(TrackTable[2]);
  EXPECT_EQ(texel(TrackTable[2].skyTexture), blue);
  EXPECT_FALSE(glIsTexture(first));
  UseSkyOf(TrackTable[0]);  // the broken sky is not tried again
  EXPECT_EQ(skies(), none);
  EXPECT_TRUE(boxes.empty());

  // After a display-mode toggle the old context's sky is forgotten, not deleted.
  UseSkyOf(TrackTable[1]);
  const GLuint old = TrackTable[1].skyTexture;
  platform::AdvanceGlContextGeneration();
  UseSkyOf(TrackTable[1]);
  const GLuint renewed = TrackTable[1].skyTexture;
  EXPECT_NE(renewed, old);
  EXPECT_EQ(texel(renewed), green);
  platform::AdvanceGlContextGeneration();
  DefineTracks();
  EXPECT_EQ(skies(), none);
  for (GLuint name : {old, renewed}) {
    EXPECT_TRUE(glIsTexture(name)) << name;
    glDeleteTextures(1, &name);
  }
}

}  // namespace
