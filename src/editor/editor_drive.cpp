// Trying the edited track: a race on it as it stands, with the chosen car and the whole
// countdown, keeping no best time or ghost; its path goes back onto the map.
#include <GL/gl.h>

#include "assets/texture.h"
#include "editor/editor_screen.h"
#include "editor/editor_session.h"
#include "game/game_setup.h"
#include "platform/frame_flags.h"
#include "platform/gl_context_generation.h"
#include "platform/keys.h"
#include "platform/mouse.h"
#include "race/race.h"
#include "race/race_screen.h"
#include "race/race_start.h"
#include "track/file_tracks.h"
#include "track/track.h"
#include "track/track_identity.h"

namespace {

// The track raced: not in the track table, so the selection never offers it.
Track gTrial;
// Frames the closing message has shown; the map comes back after three seconds of them.
int gClosingFrames = 0;
constexpr int ClosingFrames = 180;
constexpr int KeyV = 'V';

void ForgetTextures(Track& track) {
  // Names of an earlier context are not this context's to delete.
  if (track.roadListGeneration == platform::GlContextGeneration()) {
    GLuint names[2] = {track.roadTexture, track.borderTexture};
    glDeleteTextures(2, names);
  }
  track.roadTexture = track.borderTexture = 0;
}

void BackToMap() {
  SelectedTrack = &TrackTable[SelectedTrackIndex];
  ScreenState = EditorScreenState;
  ClearMouseState();
}

}  // namespace

void DriveEditedTrack() {
  const EditorCheck& check = Editor.editing->check();
  ForgetTextures(gTrial);
  SetTrackShape(gTrial, check.content);
  gTrial.trial = true;
  gTrial.origin.clear();
  // Pictures and the banner as a saved file finds them: beside it, else in Data/.
  TrackFileEntry entry;
  entry.folder = Editor.pictureFolder.empty() ? "." : Editor.pictureFolder;
  entry.path = entry.folder + "/" + check.content.name;
  gTrial.roadTexture =
      LoadTexture(TrackAssetPath(entry, check.content.road, "Data/Road.bmp").c_str());
  gTrial.borderTexture =
      LoadTexture(TrackAssetPath(entry, check.content.border, "Data/border.bmp").c_str());
  gTrial.banner.load(TrackAssetPath(entry, check.content.banner, "Data/bannerStart.ms3d").c_str());
  ReleaseSky(gTrial);
  gTrial.skyFile = TrackAssetPath(entry, check.content.sky, "Data/Sky.bmp");
  gTrial.skyUsable = CheckTexture(gTrial.skyFile.c_str());
  Editor.driven.clear();
  gClosingFrames = 0;
  SelectedTrack = &gTrial;
  StartSelectedRace();
  ScreenState = EditorDriveScreenState;
}

void DrawEditorDrive() {
  DrawRaceScreen();
  FollowEditorDrive();
}

void FollowEditorDrive() {
  const Race& race = Races[0];
  if (race.player == nullptr) return BackToMap();
  if (race.state == Race::Running) {
    static float health = 0;
    const float now = race.health();
    const bool hit = !Editor.driven.empty() && now < health;
    health = now;
    Editor.driven.push_back(
        {Vector3d(race.player->position.x, race.player->position.y, race.player->position.z), hit});
  }
  // The maker's time on the track as it stands, saved with it as the author's time.
  if (race.state == Race::Finished && gClosingFrames == 0 && Editor.editing)
    Editor.targets.drove(TrackHash(ContentOf(Editor.editing->track())),
                         static_cast<double>(race.finishTime - race.runStart));
  if ((race.state == Race::Finished || race.state == Race::Crashed) &&
      ++gClosingFrames >= ClosingFrames)
    BackToMap();
}

void EditorDriveInput() {
  if (TakeKeyPress(VK_ESCAPE)) return BackToMap();
  KeyState[KeyV] = false;  // no replay of a trial
  RaceScreenInput();
  // R restarts the trial as the race screen restarts a race.
  if (ScreenState == screen::Race) ScreenState = EditorDriveScreenState;
}
