// The track selection: a turning wire preview of the chosen track's centre line, its name, and
// the keys that step through the tracks and start the race.
#include "menu/track_selection.h"

#include <GL/gl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "assets/outline_font.h"
#include "assets/text_width.h"
#include "editor/editor_screen.h"
#include "game/action_input.h"
#include "game/game_setup.h"
#include "game/game_sounds.h"
#include "game/players.h"
#include "menu/cup.h"
#include "menu/menu_drawing.h"
#include "platform/frame_flags.h"
#include "platform/keys.h"
#include "race/ghost_choice.h"
#include "race/race_autopilot.h"
#include "race/race_start.h"
#include "race/race_time.h"
#include "records/best_times.h"
#include "replay/replay_screen.h"
#include "track/file_tracks.h"
#include "track/medals.h"
#include "track/track.h"
#include "track/track_definitions.h"
#include "track/track_identity.h"

namespace {

constexpr int KeyV = 0x56;
// Open the track editor on the shown track, or on a new one.
constexpr int KeyE = 0x45, KeyN = 0x4E;
// Switches the ghost raced between the player's own and the fastest imported one.
constexpr int KeyI = 0x49;
// Starts a cup over every track offered.
constexpr int KeyK = 0x4B;

void SelectTrack(int index) {
  SelectedTrackIndex = static_cast<int16_t>(index);
  SelectedTrack = &TrackTable[index];
}

// A file's track can be any size and anywhere: its preview is scaled to 16 units across and
// centred on the origin, so that it stays in view as it turns.
void FitPreview(const std::vector<Vector3d>& points) {
  if (points.empty()) return;
  Vector3d low = points[0], high = points[0];
  for (const Vector3d& p : points) {
    low = Vector3d(std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z));
    high = Vector3d(std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z));
  }
  const double extent = std::max({high.x - low.x, high.z - low.z, 1.0});
  const auto scale = static_cast<float>(16.0 / extent);
  glScalef(scale, scale, scale);
  glTranslatef(static_cast<float>(-(low.x + high.x) / 2), static_cast<float>(-(low.y + high.y) / 2),
               static_cast<float>(-(low.z + high.z) / 2));
}

void Vertex(const Vector3d& point) {
  glVertex3f(static_cast<float>(point.x), static_cast<float>(point.y), static_cast<float>(point.z));
}

// The centre line as separate thick segments, then a yellow point on every sample.
void DrawPreview(const std::vector<Vector3d>& points) {
  glLineWidth(3.0f);
  for (size_t i = 0; i + 1 < points.size(); ++i) {
    glBegin(GL_LINES);
    Vertex(points[i]);
    Vertex(points[i + 1]);
    glEnd();
  }
  glColor3f(1.0f, 1.0f, 0.0f);
  glPointSize(3.0f);
  for (const Vector3d& point : points) {
    glBegin(GL_POINTS);
    Vertex(point);
    glEnd();
  }
}

// The best time on the shown track with the chosen car: a small still line in the bottom left
// corner, in the grey of the race's own time; nothing when there is none. The turning name
// sweeps the bottom right and middle but never reaches that corner; the preview, whose slow
// turn passes over nearly the whole screen, is drawn after it and so always shows over it.
void DrawBestTime() {
  const auto best = GameBestTimes.best(TrackRecordsName(*SelectedTrack), Players[0].car().name);
  if (!best) return;
  glLoadIdentity();
  glColor3f(0.8f, 0.8f, 0.8f);
  glDisable(GL_DEPTH_TEST);
  glTranslatef(-1.0f, -1.16f, -3.0f);  // the text is centred on x
  glScalef(0.1f, 0.1f, 0.1f);
  PrintText("Best time: %s seconds", RaceTimeText(static_cast<double>(*best)).c_str());
  glEnable(GL_DEPTH_TEST);
}

// A UTF-8 name in the font's one-byte glyphs: letters up to U+00FF as their byte (as "é"), any
// other sequence as '?'.
std::string GlyphText(const std::string& name) {
  std::string text;
  for (size_t i = 0; i < name.size(); ++i) {
    const auto c = static_cast<unsigned char>(name[i]);
    if (c < 0x80) {
      text += static_cast<char>(c);
      continue;
    }
    const auto next = i + 1 < name.size() ? static_cast<unsigned char>(name[i + 1]) : 0;
    if ((c == 0xC2 || c == 0xC3) && (next & 0xC0) == 0x80) {
      text += static_cast<char>(((c & 0x03) << 6) | (next & 0x3F));
      ++i;
    } else if ((c & 0xC0) != 0x80) {
      text += '?';
    }
  }
  return text;
}

// One line starting at the current origin (PrintText centres its text).
void PrintFromLeft(const std::string& text) {
  glPushMatrix();
  glTranslatef(TextWidth(text) / 2, 0.0f, 0.0f);
  PrintText("%s", text.c_str());
  glPopMatrix();
}

// The medal won on the shown track with the chosen car, its name in its colour, and the next
// target's time: a small still line just above the best time, left where the best time starts;
// nothing for a track without targets. Drawn before the preview, as the best time.
void DrawMedals() {
  GiveAutopilotMedals(*SelectedTrack);  // a file's track without its own, once a run
  const TrackTargets& targets = SelectedTrack->targets;
  if (MedalTargets(targets).empty()) return;
  const auto best = GameBestTimes.best(TrackRecordsName(*SelectedTrack), Players[0].car().name);
  const Medal won = MedalOf(best, targets);
  const auto next = NextTarget(best, targets);
  std::vector<std::pair<std::string, std::array<float, 3>>> parts = {
      {"Medal: ", MedalColour(Medal::None)},
      {won == Medal::None ? "none" : MedalName(won), MedalColour(won)}};
  if (next) parts.push_back({"   Next: " + MedalTargetText(*next), MedalColour(Medal::None)});
  glLoadIdentity();
  glDisable(GL_DEPTH_TEST);
  glTranslatef(-1.55f, -1.06f, -3.0f);
  glScalef(0.06f, 0.06f, 0.06f);
  for (const auto& [text, colour] : parts) {
    glColor3f(colour[0], colour[1], colour[2]);
    PrintFromLeft(text);
    glTranslatef(TextWidth(text), 0.0f, 0.0f);
  }
  glEnable(GL_DEPTH_TEST);
}

// V, named in a small still line at the very top left, above the preview and far from the
// turning name and the best time at the foot of the screen; only when there is a best race of
// the shown track and car to watch. The track editor's E and N are named in the same line.
void DrawKeyHint() {
  // The editor's keys join the line where there is one, and name themselves on a track of the
  // player's own; the screen stays as it was for a player with neither.
  const bool own = SelectedTrack != nullptr && IsPlayerTrack(*SelectedTrack);
  if (!ChosenGhost.hasOwn() && !own) return;
  glLoadIdentity();
  glColor3f(0.8f, 0.8f, 0.8f);
  glDisable(GL_DEPTH_TEST);
  glTranslatef(-1.6f, 1.19f, -3.0f);
  glScalef(0.06f, 0.06f, 0.06f);
  PrintFromLeft(ChosenGhost.hasOwn() ? "V: best race, E: edit, N: new track, K: cup"
                                     : "E: edit the track, N: a new one, K: cup");
  glEnable(GL_DEPTH_TEST);
}

// The ghost the race will run against, and the key that switches it: two small still lines in
// the top left corner under the V hint, drawn only when an imported ghost of the shown track and
// car exists (so the screen is as it always was for a player who imports none). Drawn before the
// preview, as the best time.
void DrawGhostChoice() {
  if (!ChosenGhost.hasImported()) return;
  glLoadIdentity();
  glColor3f(0.8f, 0.8f, 0.8f);
  glDisable(GL_DEPTH_TEST);
  glTranslatef(-1.6f, 1.1f, -3.0f);  // the dark band left of the picture, under the V hint
  glScalef(0.06f, 0.06f, 0.06f);
  PrintFromLeft(GhostLineText());
  glTranslatef(0.0f, -1.5f, 0.0f);
  PrintFromLeft("I: your ghost or imported");
  glEnable(GL_DEPTH_TEST);
}

// Where the turning name is centred. A file's track name may be wider than the built-in ones:
// it moves left as far as it must for its right end to stay inside the window when it faces
// the player (the window's edge is 1.657 from the middle at the name's depth of 3, in a 4:3
// picture), and every name a file may give (TrackMaxNameWidth) then fits whole.
float NameCentreX(const Track& track) {
  constexpr float builtIn = 0.8f, rightEnd = 1.607f, scale = 0.5f;
  if (!track.fromFile) return builtIn;
  return std::min(builtIn, rightEnd - scale * TextWidth(track.name) / 2);
}

}  // namespace

std::string GhostLineText() {
  const auto& path = ChosenGhost.ghost();
  if (!path) return "Ghost: none";
  std::string whose = "yours";
  if (ChosenGhost.racesImported()) {
    whose = ChosenGhost.whose().empty() ? "imported" : GlyphText(ChosenGhost.whose());
    // A long name is cut to stay in the corner.
    if (whose.size() > 12) whose = whose.substr(0, 12) + "...";
  }
  return "Ghost: " + whose + ", " + StepsTimeText(path->steps()) + " seconds";
}

int LastSelectableTrack() {
  DefineFileTracks();  // waits for the track files if they are still being read
  return TrackCount - 1;
}

void DrawTrackSelection() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  glTranslatef(0.7f, 0.25f, -4.2f);
  DrawMenuBackground(MenuTrackTexture);

  glTranslatef(-0.09f, -0.25f, 1.2f);
  glRotatef(90.0f, 0.0f, 0.0f, 1.0f);
  glScalef(0.05f, 0.05f, 0.05f);
  DrawSelectionArrows();

  DrawBestTime();
  DrawMedals();
  ChosenGhost.choose(TrackRecordsName(*SelectedTrack), Players[0].car().name);
  DrawKeyHint();
  DrawGhostChoice();

  glLoadIdentity();
  glColor3f(0.6f, 0.6f, 1.0f);
  glTranslatef(-0.35f, 0.05f, -1.2f);
  // The second track's shape sits further left in its picture, so its preview moves right.
  if (SelectedTrackIndex == 1) glTranslatef(0.41f, 0.0f, 0.0f);
  glRotatef(-25.0f, 0.0f, 0.0f, 1.0f);
  glRotatef(25.0f, 1.0f, 0.0f, 0.0f);
  glRotatef(SpinAngle, 0.0f, 1.0f, 0.0f);
  glScalef(0.025f, 0.025f, 0.025f);
  if (SelectedTrack->fromFile) FitPreview(SelectedTrack->curve.points);
  DrawPreview(SelectedTrack->curve.points);

  glLoadIdentity();
  glColor3f(0.5f, 0.5f, 0.0f);
  glDisable(GL_DEPTH_TEST);
  glTranslatef(NameCentreX(*SelectedTrack), -1.0f, -3.0f);
  glRotatef(SpinAngle * -30.0f, 0.0f, 1.0f, 0.0f);
  glScalef(0.5f, 0.5f, 0.5f);
  // The name is text, not a format: a '%' in it is drawn as it is.
  PrintText("%s", SelectedTrack->name.c_str());
  glEnable(GL_DEPTH_TEST);

  SpinAngle += 0.002f;
  FadeMenuTint(SelectionTintFade);
}

void TrackSelectionInput() {
  const Controls& controls = GameControls();
  const int last = LastSelectableTrack();
  const bool round = last >= BuiltInTrackCount;
  if (TakeAction(controls, Action::MenuRight)) {
    if (SelectedTrackIndex < last || round) {
      PlaySound(Sound::Tick);
      SelectTrack(SelectedTrackIndex < last ? SelectedTrackIndex + 1 : 0);
    }
  }
  if (TakeAction(controls, Action::MenuLeft)) {
    if (SelectedTrackIndex > 0 || round) {
      PlaySound(Sound::Tick);
      SelectTrack(SelectedTrackIndex > 0 ? SelectedTrackIndex - 1 : last);
    }
  }
  if (TakeKeyPress(KeyI)) {
    PlaySound(Sound::Tick);
    ChosenGhost.switchSource();
  }
  if (TakeAction(controls, Action::MenuBack)) {
    PlaySound(Sound::Back);
    ScreenState = screen::CarSelection;
  }
  if (TakeAction(controls, Action::MenuTake)) {
    // No confirm click: the race's first frame sounds "READY" in its place.
    // Switches to the race screen itself, builds the road and starts the race.
    StartSelectedRace();
  }
  if (ScreenState == screen::TrackSelection && TakeKeyPress(KeyE)) {
    PlaySound(Sound::Confirm);
    OpenTrackEditor(SelectedTrackIndex);
  }
  if (ScreenState == screen::TrackSelection && TakeKeyPress(KeyN)) {
    PlaySound(Sound::Confirm);
    OpenNewTrackEditor();
  }
  if (ScreenState == screen::TrackSelection && TakeKeyPress(KeyK)) StartCup();
  if (ScreenState == screen::TrackSelection && TakeKeyPress(KeyV) && SelectedTrack != nullptr) {
    PlaySound(WatchBestRace(*SelectedTrack, Players[0].car()) ? Sound::Confirm : Sound::Back);
  }
}
