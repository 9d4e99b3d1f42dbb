// The raced track's sky across a display-mode toggle: the whole game on the scripted window
// system, a race, F1 in it, then a race on another track in the new context.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "audited_game.h"
#include "content/content_generator.h"
#include "game/game_setup.h"
#include "platform/frame_flags.h"
#include "platform/gl_context_generation.h"
#include "platform/keys.h"
#include "platform/scripted_window_system.h"
#include "support/gl_name_audit.h"
#include "support/scratch_folder.h"
#include "track/track.h"

namespace {

// What each race frame found: the raced track, the tracks holding a sky texture, and whether
// the raced one names a texture of the current context.
std::set<std::string> gSeen;

void NotingRaceDraw() {
  std::string skies;
  for (int i = 0; i < TrackTableSize; ++i)
    if (TrackTable[i].skyTexture != 0) skies += std::to_string(i);
  const Track& raced = *SelectedTrack;
  const bool current = raced.skyTextureGeneration == platform::GlContextGeneration() &&
                       glIsTexture(raced.skyTexture);
  gSeen.insert(raced.name + " skies " + skies + (current ? " current" : " stale"));
  app_testing::RaceDraw();
}

class TogglingWindowSystem : public platform::ScriptedWindowSystem {
 public:
  bool deleteContext() override {
    testing_support::GlAudit().forgetCurrentContext();
    return ScriptedWindowSystem::deleteContext();
  }
};

TEST(RaceSky, AfterF1DuringARaceTheNextRaceHasItsOwnSkyOnly) {
  testing_support::ScratchFolder folder;
  ASSERT_TRUE(content::GenerateContent((folder.path() / "Data").string()));
  TogglingWindowSystem ws;
  platform::SetWindowSystem(&ws);
  ws.keyUp(VK_RETURN);
  for (int key : {VK_RETURN, VK_RETURN, VK_RETURN, VK_F1,                 // race on "Sunny"
                  VK_RETURN, VK_RETURN, VK_RIGHT, VK_RETURN, VK_ESCAPE})  // then on "BlueSky"
  {
    ws.idle(2);
    ws.keyDown(key);
  }
  ws.idle(2);
  ws.send(platform::Message{platform::MessageKind::Close});

  gSeen.clear();
  app_testing::RunAuditedGame(NotingRaceDraw);
  const auto& audit = testing_support::GlAudit();

  EXPECT_EQ(gSeen, (std::set<std::string>{"Sunny skies 0 current", "BlueSky skies 1 current"}));
  EXPECT_EQ(ws.windows.size(), 2u);
  EXPECT_EQ(ws.boxes.size(), 1u);  // the start question only
  EXPECT_EQ(audit.faultCount, 0) << (audit.faults.empty() ? "" : audit.faults.front());
}

}  // namespace
