// The game's shared state (car roster, selections, menu pictures) and GameSetup, which (re)loads
// every asset into the current GL context at start-up and after each display-mode toggle.
// In game/, the state the menus choose and the race reads; it includes no menu or race code.
#include "game/game_setup.h"

#include "assets/texture.h"
#include "game/players.h"
#include "platform/timeline.h"
#include "track/file_tracks.h"
#include "track/track.h"
#include "track/track_definitions.h"

Car CarRoster[CarRosterSize];

uint32_t MenuMainTexture = 0;
uint32_t MenuCarTexture = 0;
uint32_t MenuTrackTexture = 0;
MenuColor MenuTint{1.0f, 1.0f, 1.0f};
int16_t SelectedTrackIndex = 0;
Track* SelectedTrack = &TrackTable[0];
float SpinAngle = 0.0f;

namespace {

// The models of the three cars of the roster, in roster order.
constexpr const char* CarModelFiles[] = {"Data/wingman.ms3d", "Data/pizzacar.ms3d",
                                         "Data/flyingtaco.ms3d"};

// The steps of the setup's rest, in order: the car and track menus' pictures, the cars, the
// built-in tracks. How many of the current GameSetup's are done (all: nothing left), and whether
// the rest's pictures and the track files were asked for.
constexpr int RestSteps = 3;
int StepsDone = RestSteps;
bool RestRequested = false;

void LoadRosterCars() {
  Car& smile = CarRoster[0];
  smile.model.load(CarModelFiles[0]);
  smile.name = RosterCarNames[0];

  Car& pizza = CarRoster[1];
  pizza.model.load(CarModelFiles[1]);
  pizza.acceleration = 0.00031f;
  pizza.steering = 0.12f;
  pizza.health = 4.5f;
  pizza.name = RosterCarNames[1];

  Car& taco = CarRoster[2];
  taco.model.load(CarModelFiles[2]);
  taco.acceleration = 0.00018f;
  taco.steering = 0.08f;
  taco.health = 18.0f;
  taco.name = RosterCarNames[2];
}

}  // namespace

void PrefetchMainMenuPicture() {
  PrefetchTextures({{"Data/menuMain.bmp", PictureRequest::Load, TextureFilter::Linear}});
}

void PrefetchGamePictures() {
  if (RestRequested) return;
  std::vector<PictureRequest> requests = {
      {"Data/menuCar.bmp", PictureRequest::Load, TextureFilter::Linear},
      {"Data/menuTrack.bmp", PictureRequest::Load, TextureFilter::Linear}};
  for (const char* model : CarModelFiles) {
    for (PictureRequest& skin : ModelTextureRequests(model)) requests.push_back(std::move(skin));
  }
  for (PictureRequest& request : BuiltInTrackPictures()) requests.push_back(std::move(request));
  PrefetchTextures(requests);
  RestRequested = true;
  StartReadingTrackFiles();
}

void GameSetup() {
  PrefetchMainMenuPicture();
  PrefetchGamePictures();
  BeginGameSetup();
  FinishGameSetup();
}

void BeginGameSetup() {
  MenuMainTexture = LoadTexture("Data/menuMain.bmp", TextureFilter::Linear);
  MenuTint = {1.0f, 1.0f, 1.0f};
  for (Player& player : Players) player.carIndex = 0;
  SelectedTrackIndex = 0;
  SelectedTrack = &TrackTable[0];
  StepsDone = 0;
  platform::TimelineMark("setup: main menu");
}

bool GameSetupUnfinished() {
  return StepsDone < RestSteps;
}

void DropGameSetup() {
  DropPrefetchedPictures();
  StepsDone = RestSteps;
  RestRequested = false;
}

bool GameSetupReady() {
  return RestRequested && PrefetchedPicturesReady();
}

void FinishGameSetupStep() {
  if (!GameSetupUnfinished()) return;
  PrefetchGamePictures();
  switch (StepsDone++) {
    case 0:
      MenuCarTexture = LoadTexture("Data/menuCar.bmp", TextureFilter::Linear);
      MenuTrackTexture = LoadTexture("Data/menuTrack.bmp", TextureFilter::Linear);
      platform::TimelineMark("setup: menu pictures");
      break;
    case 1:
      LoadRosterCars();
      platform::TimelineMark("setup: cars");
      break;
    default:
      // The track files never hold the first frame: the track selection defines them, waiting
      // for their reading if it comes first.
      DefineTracks();
      platform::TimelineMark("setup: built-in tracks");
      RestRequested = false;
      break;
  }
}

void FinishGameSetup() {
  while (GameSetupUnfinished()) FinishGameSetupStep();
}
