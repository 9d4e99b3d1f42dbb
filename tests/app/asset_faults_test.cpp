// The asset-fault matrix: the whole game, through every screen into a race and back, with Data/
// missing and with each of its files missing, garbage, cut short or empty in turn.
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "audited_game.h"
#include "content/content_generator.h"
#include "platform/frame_flags.h"
#include "platform/keys.h"
#include "platform/scripted_window_system.h"
#include "support/gl_name_audit.h"
#include "support/scratch_folder.h"
#include "track/track.h"
#include "track/track_definitions.h"

namespace {

enum class Fault {
  None,
  Missing,
  Garbage,
  Truncated,
  Empty,
  NoDataFolder,
  Fifo,
  Device,
  Folder,
  Sparse
};
const char* const FaultNames[] = {"intact",   "missing", "garbage",   "truncated", "empty",
                                  "no Data/", "FIFO",    "/dev/zero", "folder",    "sparse 4 GiB"};

// Puts a FIFO, a link to an endless device, a folder or a sparse file of 4 GiB at `path`.
void MakeSpecial(const std::filesystem::path& path, Fault fault) {
  std::filesystem::create_directories(path.parent_path());
  std::filesystem::remove(path);
  if (fault == Fault::Fifo) mkfifo(path.c_str(), 0600);
  if (fault == Fault::Device) std::filesystem::create_symlink("/dev/zero", path);
  if (fault == Fault::Folder) std::filesystem::create_directory(path);
  if (fault == Fault::Sparse) std::ofstream{path}.close();
  if (fault == Fault::Sparse) std::filesystem::resize_file(path, 4ull << 30);
}

int gRaceFrames = 0;
int gGlErrors = 0;

void CountedRaceDraw() {
  app_testing::RaceDraw();
  ++gRaceFrames;
  while (glGetError() != GL_NO_ERROR) ++gGlErrors;
}

struct Outcome {
  std::vector<std::string> boxes;  // after the start question: caption|text
  int texturesMade = 0;
  int listsMade = 0;
  int tracksOffered = 0;
  int raceFrames = 0;
  int endScreen = -1;
};

class AssetFaults : public ::testing::Test {
 protected:
  // The intact data is written once; each run's Data/ links to it, file by file, and writes
  // only the damaged file (the game never writes into Data/).
  static void SetUpTestSuite() {
    files_ = content::BuildContent();
    intact_ = new testing_support::ScratchFolder;
    for (const auto& file : files_) Write(intact_->path() / "Data" / file.name, file.bytes);
  }
  static void TearDownTestSuite() { delete intact_; }

  static void Write(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  }

  // Races the first track, or with `lastTrack` the last one (Left from the first).
  Outcome play(const std::string& damaged, Fault fault, bool lastTrack = false) {
    testing_support::ScratchFolder folder;
    for (const auto& file : files_) {
      const std::filesystem::path target = folder.path() / "Data" / file.name;
      if (file.name != damaged) {
        std::filesystem::create_directories(target.parent_path());
        std::filesystem::create_hard_link(intact_->path() / "Data" / file.name, target);
        continue;
      }
      if (fault == Fault::Missing) continue;
      std::vector<uint8_t> bytes = file.bytes;
      if (fault == Fault::Empty) bytes.clear();
      if (fault == Fault::Truncated) bytes.resize(bytes.size() / 2);
      uint32_t noise = 12345;
      if (fault == Fault::Garbage)
        for (uint8_t& b : bytes)
          b = static_cast<uint8_t>((noise = noise * 1103515245 + 12345) >> 16);
      Write(target, bytes);
    }
    if (fault == Fault::NoDataFolder) std::filesystem::remove_all(folder.path() / "Data");
    if (fault >= Fault::Fifo) {
      MakeSpecial(damaged == "best-times.txt" ? folder.path() / "share" / "quillon" / damaged
                                              : folder.path() / "Data" / damaged,
                  fault);
    }

    platform::ScriptedWindowSystem ws;
    platform::SetWindowSystem(&ws);
    // Released first: the keys are then not taken for answers to the boxes before them.
    ws.keyUp(VK_RETURN);
    ws.keyUp(VK_ESCAPE);
    std::vector<int> keys = {VK_RETURN, VK_RIGHT, VK_RETURN};  // car, next car, track
    if (lastTrack) keys.push_back(VK_LEFT);
    keys.push_back(VK_RETURN);  // race
    // Enter and Escape are let go before each press, as after answering a box: a broken car or
    // track picture shows its box behind the first frame, among these presses.
    const auto press = [&ws](int key) {
      ws.keyUp(VK_RETURN);
      ws.keyUp(VK_ESCAPE);
      ws.keyDown(key);
    };
    for (int key : keys) {
      ws.idle(2);
      press(key);
    }
    ws.idle(4);
    press(VK_ESCAPE);  // back to the main menu
    ws.idle(2);
    ws.send(platform::Message{platform::MessageKind::Close});

    gRaceFrames = 0;
    app_testing::RunAuditedGame(CountedRaceDraw);
    const auto& audit = testing_support::GlAudit();

    Outcome out;
    for (size_t i = 1; i < ws.boxes.size(); ++i)
      out.boxes.push_back(ws.boxes[i].caption + "|" + ws.boxes[i].text);
    out.texturesMade = audit.texturesMade;
    out.listsMade = audit.listsMade;
    out.tracksOffered = TrackCount;
    out.raceFrames = gRaceFrames;
    out.endScreen = ScreenState;
    EXPECT_EQ(audit.faultCount, 0) << (audit.faults.empty() ? "" : audit.faults.front());
    return out;
  }

  static std::vector<content::GeneratedFile> files_;
  static testing_support::ScratchFolder* intact_;
};
std::vector<content::GeneratedFile> AssetFaults::files_;
testing_support::ScratchFolder* AssetFaults::intact_ = nullptr;

// One test a kind of damage, so that a sharded run spreads the matrix over the cores.
class EveryDamagedFile : public AssetFaults, public ::testing::WithParamInterface<Fault> {};

TEST_P(EveryDamagedFile, LeavesItsSurfaceOrModelOutAndTheRaceStillRuns) {
  gGlErrors = 0;
  const Outcome intact = play("", Fault::None);
  ASSERT_TRUE(intact.boxes.empty());
  ASSERT_GT(intact.raceFrames, 0);
  // Every track is offered, whatever the tests before this one left behind.
  ASSERT_EQ(intact.tracksOffered,
            BuiltInTrackCount + std::ranges::count_if(files_, [](const auto& file) {
              return file.name.ends_with(".track");
            }));

  const Fault fault = GetParam();
  std::vector<std::string> names;
  for (const auto& file : files_) names.push_back(file.name);
  if (fault == Fault::NoDataFolder) names = {""};  // one run, without Data/ at all

  for (const auto& name : names) {
    SCOPED_TRACE(name + " " + FaultNames[static_cast<int>(fault)]);
    const Outcome out = play(name, fault);
    EXPECT_GT(out.raceFrames, 0);  // the race was reached...
    EXPECT_EQ(out.endScreen, 0);   // ...and left
    // A file track's pictures are read only when it is raced: the race is on "Sunny".
    const bool unracedFilePicture = name.starts_with("Tracks/") && name.ends_with(".bmp");
    const bool picture = name.ends_with(".bmp") && !unracedFilePicture;
    if (fault == Fault::NoDataFolder) {
      EXPECT_TRUE(out.boxes.empty());
      EXPECT_EQ(out.texturesMade, 0);
      continue;
    }
    // A picture's reader reports what it cannot read, except a file that is not there; the
    // model reader reports nothing.
    if (picture && fault != Fault::Missing) {
      EXPECT_FALSE(out.boxes.empty());
      for (const auto& box : out.boxes) EXPECT_EQ(box.substr(0, 6), "Error|") << box;
    } else {
      EXPECT_TRUE(out.boxes.empty()) << out.boxes.front();
    }
    // The race is on "Sunny": only its sky becomes a texture, the others are only checked.
    const bool unracedSky =
        (name.starts_with("Sky") && name != "Sky.bmp") || name.ends_with("-sky.bmp");
    // A sound or the medals touch no picture or model (a broken medals file leaves the built-in
    // tracks without medals; the sounds' faults are the sound tests' matter).
    if (unracedSky || unracedFilePicture || name.ends_with(".wav") || name == "medals.txt")
      EXPECT_EQ(out.texturesMade, intact.texturesMade);
    else if (picture)
      EXPECT_LT(out.texturesMade, intact.texturesMade);  // the surface untextured
    else if (name.ends_with(".track"))  // the track file refused: one track fewer offered
      EXPECT_EQ(out.tracksOffered, intact.tracksOffered - 1);
    else  // the model undrawn
      EXPECT_LT(out.listsMade, intact.listsMade);
  }
  EXPECT_EQ(gGlErrors, 0);
}

INSTANTIATE_TEST_SUITE_P(AssetFaults, EveryDamagedFile,
                         ::testing::Values(Fault::NoDataFolder, Fault::Missing, Fault::Garbage,
                                           Fault::Truncated, Fault::Empty),
                         [](const ::testing::TestParamInfo<Fault>& info) {
                           std::string name = FaultNames[static_cast<int>(info.param)];
                           std::erase_if(name, [](char c) { return !std::isalnum(c); });
                           return name;
                         });

TEST_F(AssetFaults, AFileTracksBrokenSkyShowsItsBoxOnceWhenRacedAndTheRaceRunsWithoutIt) {
  const Outcome intact = play("", Fault::None, true);
  ASSERT_TRUE(intact.boxes.empty());
  const Outcome out = play("Tracks/Overpass-sky.bmp", Fault::Truncated, true);
  ASSERT_EQ(out.boxes.size(), 1u);
  EXPECT_EQ(out.boxes[0].substr(0, 6), "Error|");
  EXPECT_GT(out.raceFrames, 0);
  EXPECT_EQ(out.texturesMade, intact.texturesMade - 1);
}

TEST_F(AssetFaults, SpecialFilesAreTakenForMissingAndNeverHoldTheGameUp) {
  // A prefetched picture, a model, its skin and the best times: none of them waits on a FIFO or
  // reads a device or a huge file to its end; the game goes on into the race and back.
  for (const char* name : {"menuMain.bmp", "wingman.ms3d", "wingman.bmp", "best-times.txt"}) {
    const Outcome missing = play(name, Fault::Missing);
    for (Fault fault : {Fault::Fifo, Fault::Device, Fault::Folder, Fault::Sparse}) {
      SCOPED_TRACE(std::string(name) + " " + FaultNames[static_cast<int>(fault)]);
      const Outcome out = play(name, fault);
      EXPECT_GT(out.raceFrames, 0);
      EXPECT_EQ(out.endScreen, 0);
      EXPECT_EQ(out.texturesMade, missing.texturesMade);
      EXPECT_EQ(out.listsMade, missing.listsMade);
      const bool zeros = fault == Fault::Sparse && std::string(name).ends_with(".bmp");
      EXPECT_EQ(out.boxes, zeros ? std::vector<std::string>{"Error|Unknown DIB file format."}
                                 : std::vector<std::string>{});
    }
  }
}

}  // namespace
