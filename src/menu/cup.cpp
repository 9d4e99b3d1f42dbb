// The cup: a run of races over every track offered, and its results.
#include "menu/cup.h"

#include <GL/gl.h>

#include <cstdio>

#include "assets/outline_font.h"
#include "assets/text_width.h"
#include "editor/editor_screen.h"
#include "game/action_input.h"
#include "game/game_setup.h"
#include "game/game_sounds.h"
#include "game/players.h"
#include "menu/track_selection.h"
#include "platform/frame_flags.h"
#include "platform/keys.h"
#include "race/race.h"
#include "race/race_screen.h"
#include "race/race_start.h"
#include "race/race_time.h"
#include "track/track.h"
#include "track/track_identity.h"

CupRun Cup;

namespace {

constexpr int KeyY = 'Y', KeyN = 'N';

std::string CupKey() {
  std::vector<std::string> names;
  for (int slot : Cup.tracks) names.push_back(TrackRecordsName(TrackTable[slot]));
  return CupTracksKey(names);
}

void StartCupTrack() {
  const int slot = Cup.tracks[Cup.current()];
  SelectedTrackIndex = static_cast<int16_t>(slot);
  SelectedTrack = &TrackTable[slot];
  Cup.closingFrames = 0;
  Cup.asking = false;
  StartSelectedRace();
  Cup.two = RaceOfTwo();
  ScreenState = screen::Cup;
}

void EndCup() {
  ScreenState = screen::CupResults;
  if (Cup.crashed || Cup.times.size() != Cup.tracks.size()) return;
  Cup.newBest = KeepCup({Players[0].car().name, CupKey(), Cup.times});
  if (Cup.two) KeepCup({Players[1].car().name, CupKey(), Cup.timesTwo});
  PlaySound(Cup.newBest ? Sound::NewBest : Sound::Finish);
}

// A small line in the top right corner of the race picture, where no message of the race
// stands, on a dark shadow.
void CornerLine(const std::string& text, float row) {
  constexpr float Depth = 15.0f, Scale = 0.4f, Margin = 0.5f;
  const float halfHeight = Depth * 0.41421356f, aspect = 4.0f / 3.0f;
  const float x = halfHeight * aspect - Margin - Scale * TextWidth(text) / 2;
  const float y = halfHeight - Margin - Scale * 0.7f - row * 0.6f;
  glDisable(GL_DEPTH_TEST);
  for (const float shade : {0.0f, 0.9f}) {
    const float offset = shade == 0.0f ? 0.05f : 0.0f;
    glLoadIdentity();
    glColor3f(shade, shade, shade * 0.6f);
    glTranslatef(x + offset, y - offset, -Depth);
    glScalef(Scale, Scale, Scale);
    PrintText("%s", text.c_str());
  }
  glEnable(GL_DEPTH_TEST);
}

int64_t Total(const std::vector<int64_t>& times = Cup.times) {
  int64_t total = 0;
  for (int64_t t : times) total += t;
  return total;
}

std::string Seconds(int64_t seconds) {
  return RaceTimeText(static_cast<double>(seconds));
}

}  // namespace

Outcome CupWinner(const CupRun& cup) {
  if (cup.crashed) return Outcome::NobodyWins;
  if (!cup.two || cup.times.size() != cup.tracks.size()) return Outcome::Open;
  const int64_t one = Total(cup.times), two = Total(cup.timesTwo);
  return one < two   ? Outcome::PlayerOneWins
         : two < one ? Outcome::PlayerTwoWins
                     : Outcome::DeadHeat;
}

void StartCup() {
  Cup = CupRun{};
  // Every track offered; past CupMostTracks, those that come with the game (the player's own
  // tracks left out).
  const int last = LastSelectableTrack();
  for (int slot = 0; slot <= last; ++slot)
    if (last < CupMostTracks || !IsPlayerTrack(TrackTable[slot])) Cup.tracks.push_back(slot);
  Cup.bestBefore = BestCup(Players[0].car().name, CupKey());
  StartCupTrack();
}

void DrawCupRace() {
  DrawRaceScreen();
  if (EveryRaceDone()) {
    const auto time = [](const Race& race) { return race.finishTime - race.runStart; };
    if (Cup.closingFrames++ == 0) {
      // Any crash ends the cup; otherwise each car's time is added.
      Cup.crashed = Races[0].state == Race::Crashed || (Cup.two && Races[1].state == Race::Crashed);
      if (!Cup.crashed) {
        Cup.times.push_back(time(Races[0]));
        if (Cup.two) Cup.timesTwo.push_back(time(Races[1]));
        if (Cup.two) Cup.winners.push_back(OutcomeOf(Races[0], Races[1]));
      }
    }
    const std::string totals =
        Cup.two ? Seconds(Total()) + " / " + Seconds(Total(Cup.timesTwo)) : Seconds(Total());
    CornerLine(Cup.crashed
                   ? "The cup ends here"
                   : "Cup total: " + totals + " seconds after " + std::to_string(Cup.times.size()) +
                         " of " + std::to_string(Cup.tracks.size()),
               0);
    if (Cup.closingFrames >= CupClosingFrames) {
      if (Cup.crashed || Cup.times.size() == Cup.tracks.size())
        EndCup();
      else
        StartCupTrack();
    }
  } else {
    CornerLine("Cup: track " + std::to_string(Cup.current() + 1) + " of " +
                   std::to_string(Cup.tracks.size()),
               0);
  }
  if (Cup.asking) CornerLine("Leave the cup? Y / N", 1);
}

void CupRaceInput() {
  if (Cup.asking) {
    if (TakeKeyPress(KeyY)) {
      PlaySound(Sound::Back);
      Cup.asking = false;
      ScreenState = screen::TrackSelection;
      return;
    } else if (TakeKeyPress(KeyN) || TakeKeyPress(VK_ESCAPE)) {
      Cup.asking = false;
    }
  } else if (TakeKeyPress(VK_ESCAPE)) {
    Cup.asking = true;
  }
  // Restart only before "GO", at no cost; the race's own Escape and restart are the cup's.
  const bool restart = TakeAction(GameControls(), Action::Restart);
  if (restart && Races[0].state == Race::Ready && !Cup.asking) StartCupTrack();
  RaceScreenInput();
}

void DrawCupResults() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glDisable(GL_DEPTH_TEST);
  const auto line = [](float y, float scale, const std::array<float, 3>& colour,
                       const std::string& text) {
    glLoadIdentity();
    glColor3f(colour[0], colour[1], colour[2]);
    glTranslatef(0.0f, y, -3.0f);
    glScalef(scale, scale, scale);
    PrintText("%s", text.c_str());
  };
  const std::array<float, 3> grey{0.8f, 0.8f, 0.8f}, yellow{1.0f, 1.0f, 0.0f};
  line(0.95f, 0.16f, yellow, Cup.crashed ? "Cup over: crashed" : "Cup results");
  float y = 0.7f;
  for (size_t i = 0; i < Cup.tracks.size(); ++i, y -= 0.12f) {
    const Track& track = TrackTable[Cup.tracks[i]];
    std::string text = track.name + ": ";
    Medal medal = Medal::None;
    if (i < Cup.times.size() && Cup.two) {
      text += Seconds(Cup.times[i]) + " / " + Seconds(Cup.timesTwo[i]) + " s, " +
              OutcomeText(Cup.winners[i]);
    } else if (i < Cup.times.size()) {
      text += Seconds(Cup.times[i]) + " s";
      if (Cup.bestBefore && i < Cup.bestBefore->times.size()) {
        const int64_t split = Cup.times[i] - Cup.bestBefore->times[i];
        text += (split > 0 ? ", split +" : ", split ") + std::to_string(split);
      }
      medal = MedalOf(Cup.times[i], track.targets);
      if (medal != Medal::None) text += std::string(", ") + MedalName(medal);
    } else {
      text += "-";
    }
    line(y, 0.08f, i < Cup.times.size() ? MedalColour(medal) : grey, text);
  }
  y -= 0.08f;
  if (!Cup.crashed && Cup.two) {
    line(y, 0.1f, grey,
         "Totals: " + Seconds(Total()) + " / " + Seconds(Total(Cup.timesTwo)) + " seconds");
    const Outcome winner = CupWinner(Cup);
    line(y - 0.15f, 0.1f, yellow,
         winner == Outcome::DeadHeat ? "The cup is a dead heat"
                                     : std::string(OutcomeText(winner)) + " the cup");
    y -= 0.15f;
  } else if (!Cup.crashed) {
    line(y, 0.1f, grey, "Total: " + Seconds(Total()) + " seconds");
  }
  if (Cup.newBest) line(y - 0.15f, 0.1f, yellow, "New best cup total!");
  if (Cup.bestBefore)
    line(y - 0.3f, 0.08f, grey,
         "Best cup total: " + RaceTimeText(double(Cup.bestBefore->total())) + " seconds");
  line(-1.1f, 0.07f, grey, "Enter or Esc: back to the tracks");
  glEnable(GL_DEPTH_TEST);
}

void CupResultsInput() {
  const Controls& controls = GameControls();
  if (TakeAction(controls, Action::MenuTake) || TakeAction(controls, Action::MenuBack)) {
    PlaySound(Sound::Back);
    ScreenState = screen::TrackSelection;
  }
}
