// Builds every content file and writes them into a Data folder. Each picture is stored in a
// different one of the bitmap formats the game reads, so every decoder path is exercised.
#include "content/content_generator.h"

#include <filesystem>

#include "content/menu_pictures.h"
#include "content/models.h"
#include "content/sounds.h"
#include "content/track_files.h"
#include "content/world_pictures.h"
#include "formats/bmp_writer.h"
#include "formats/wave_writer.h"

namespace content {

namespace {

using formats::BmpHeaderKind;
using formats::BmpOptions;
using formats::BmpPixelFormat;

BmpOptions Format(BmpPixelFormat format, bool dither = false,
                  BmpHeaderKind header = BmpHeaderKind::Info40, bool fileHeader = true) {
  BmpOptions o;
  o.format = format;
  o.dither = dither;
  o.header = header;
  o.fileHeader = fileHeader;
  return o;
}

void AddPicture(std::vector<GeneratedFile>& files, const std::string& name, const Canvas& canvas,
                const BmpOptions& options) {
  files.push_back({name, formats::EncodeBmp(canvas.toPicture(), options)});
}

}  // namespace

std::vector<GeneratedFile> BuildContent() {
  std::vector<GeneratedFile> files;
  AddPicture(files, "menuMain.bmp", MainMenuPicture(), Format(BmpPixelFormat::Rgb24));
  AddPicture(files, "menuCar.bmp", CarMenuPicture(), Format(BmpPixelFormat::Rle8, true));
  AddPicture(files, "menuTrack.bmp", TrackMenuPicture(), Format(BmpPixelFormat::Rgb32));
  AddPicture(files, "Road.bmp", RoadPicture(RoadKind::Asphalt),
             Format(BmpPixelFormat::Indexed8, true));
  AddPicture(files, "Road2.bmp", RoadPicture(RoadKind::Sand),
             Format(BmpPixelFormat::Rgb24, false, BmpHeaderKind::Core12));
  AddPicture(files, "border.bmp", BorderPicture(BorderKind::RedWhite),
             Format(BmpPixelFormat::Indexed4));
  AddPicture(files, "border1.bmp", BorderPicture(BorderKind::BlueWhite),
             Format(BmpPixelFormat::Rle4));
  AddPicture(files, "border2.bmp", BorderPicture(BorderKind::YellowBlack),
             Format(BmpPixelFormat::Rgb555));
  AddPicture(files, "Sky.bmp", SkyPicture(SkyKind::Sunny), Format(BmpPixelFormat::Rgb24));
  AddPicture(files, "SkyBleuetForet.bmp", SkyPicture(SkyKind::BlueForest),
             Format(BmpPixelFormat::Rgb24, false, BmpHeaderKind::Info40, false));
  AddPicture(files, "SkyNocturne.bmp", SkyPicture(SkyKind::Night),
             Format(BmpPixelFormat::Indexed8, true));
  for (const ModelContent& model :
       {SmileCar(), PizzaCar(), FlyingTaco(), StartBanner(0), StartBanner(1), StartBanner(2)}) {
    files.push_back({model.file, formats::EncodeMs3d(model.mesh)});
    for (const ModelSkin& skin : model.skins)
      AddPicture(files, skin.file, skin.canvas, skin.options);
  }
  // The shipped track files and their skies, beside them in Tracks/.
  std::vector<TrackFileText> tracks = ShippedTrackFiles();
  tracks.push_back(BuiltInMedalsFile());  // the built-in tracks' target times
  for (const TrackFileText& track : tracks)
    files.push_back({track.file, std::vector<uint8_t>(track.text.begin(), track.text.end())});
  const std::pair<const char*, SkyKind> skies[] = {{"Tracks/Longshore-sky.bmp", SkyKind::Dawn},
                                                   {"Tracks/Knots-sky.bmp", SkyKind::Storm},
                                                   {"Tracks/Overpass-sky.bmp", SkyKind::Alpine},
                                                   {"Tracks/Dunes-sky.bmp", SkyKind::Desert}};
  for (const auto& [file, kind] : skies)
    AddPicture(files, file, SkyPicture(kind), Format(BmpPixelFormat::Rgb24));
  for (SoundContent& sound : GameSounds())
    files.push_back({sound.file, formats::EncodeWave16(sound.rate, 1, sound.samples)});
  return files;
}

bool GenerateContent(const std::string& folder, std::string* error) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec) {
    if (error) *error = "cannot create " + folder + ": " + ec.message();
    return false;
  }
  for (const GeneratedFile& file : BuildContent()) {
    const std::filesystem::path target = std::filesystem::path(folder) / file.name;
    std::filesystem::create_directories(target.parent_path(), ec);
    std::string path = target.string();
    if (!formats::WriteBytesToFile(path, file.bytes)) {
      if (error) *error = "cannot write " + path;
      return false;
    }
  }
  return true;
}

}  // namespace content
