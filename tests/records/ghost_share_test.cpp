// Sharing ghosts: the named file version read and written (the older one still read), export on
// one home folder and import on another giving the same bytes, and hostile files refused with
// their reasons and nothing stored.
#include "records/ghost_share.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <bit>
#include <cmath>
#include <limits>

#include "records/ghost_store.h"
#include "records/settings.h"
#include "support/ghost_paths.h"
#include "support/scratch_folder.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ReadFile;
using testing_support::WriteFile;
const auto Path = [](int32_t steps) { return testing_support::StraightGhost(steps); };

uint32_t Fnv(std::string_view bytes) {
  uint32_t hash = 2166136261u;
  for (unsigned char c : bytes) hash = (hash ^ c) * 16777619u;
  return hash;
}

std::string WithChecksum(std::string body) {
  const uint32_t sum = Fnv(body);
  for (int i = 0; i < 4; ++i) body.push_back(static_cast<char>(sum >> (8 * i)));
  return body;
}

void Varint(std::string& out, uint32_t value) {
  for (; value >= 0x80; value >>= 7) out.push_back(static_cast<char>((value & 0x7F) | 0x80));
  out.push_back(static_cast<char>(value));
}

// A version 2 file written by hand: the names, then `steps` and `laps` as given, one lap ending
// on step 1 and one pose of six values (the first pose is stored as its bits, zigzagged).
std::string HandMade(const std::string& track, uint32_t steps, uint32_t laps, float value) {
  std::string out = "QGHOST\x02";
  for (const std::string& name : {std::string("Zoe"), track, std::string("SMiLE")}) {
    Varint(out, static_cast<uint32_t>(name.size()));
    out += name;
  }
  Varint(out, steps);
  Varint(out, laps);
  Varint(out, 1);
  const uint32_t bits = std::bit_cast<uint32_t>(value);
  for (int i = 0; i < 6; ++i) Varint(out, (bits << 1) ^ (0u - (bits >> 31)));
  return WithChecksum(out);
}

TEST(GhostShareFormat, NamesRoundTripAndVersionOneStillReads) {
  const GhostLabel label{"Zoé", "Sunny", "SMiLE"};
  const std::string bytes = FormatGhost(Path(40), label);
  GhostPath path;
  GhostLabel read;
  ASSERT_EQ(ParseGhost(bytes, path, &read), GhostRead::Read);
  EXPECT_EQ(path, Path(40));
  EXPECT_EQ(read, label);
  EXPECT_EQ(GhostVersion(bytes), 2);
  // The same ghost as version 1 wrote it: no names.
  std::string older = FormatGhost(Path(40));
  ASSERT_EQ(older.substr(7, 3), std::string(3, '\0'));
  older = WithChecksum("QGHOST\x01" + older.substr(10, older.size() - 14));
  ASSERT_EQ(ParseGhost(older, path, &read), GhostRead::Read);
  EXPECT_EQ(path, Path(40));
  EXPECT_EQ(read, GhostLabel());
  // A name too long to write is refused, and cut to fit only between UTF-8 sequences.
  EXPECT_EQ(FormatGhost(Path(40), {std::string(GhostMaxName + 1, 'x'), "Sunny", "SMiLE"}), "");
  EXPECT_EQ(ClipGhostName(std::string(GhostMaxName - 1, 'x') + "é").size(), GhostMaxName - 1);
  EXPECT_EQ(ParseGhost(HandMade("Sunny", 1, 1, 1.5f), path, &read), GhostRead::Read);
  EXPECT_EQ(path.poses[0].heading, 1.5f);
}

TEST(GhostShare, ExportThenImportOnAnotherHomeFolderGivesTheSameBytes) {
  testing_support::ScratchFolder first;
  WriteFile(SettingsFile(), "quillon-settings 1\nname\tZoé\n");
  GameSettings.reload();
  ASSERT_TRUE(GameGhosts.keep("Sunny", "SMiLE", Path(300)));
  const fs::path exported = first.path() / "to-a-friend.ghost";
  std::string error;
  ASSERT_TRUE(ExportGhost("Sunny", "SMiLE", exported, error)) << error;
  EXPECT_FALSE(ExportGhost("Yello", "SMiLE", first.path() / "none.ghost", error));
  EXPECT_EQ(error, "no ghost of Yello with SMiLE");
  EXPECT_FALSE(fs::exists(first.path() / "none.ghost"));
  {
    testing_support::ScratchFolder second;
    std::string reason;
    ImportedGhost ghost;
    ASSERT_TRUE(ImportGhost(exported, {"Sunny", "Yello"}, reason, &ghost)) << reason;
    EXPECT_EQ(ghost.file, ImportedGhostFolder() / "Sunny-SMiLE-Zo%C3%A9.ghost");
    EXPECT_EQ(ReadFile(ghost.file), ReadFile(exported));
    EXPECT_FALSE(fs::exists(GhostFile("Sunny", "SMiLE")));  // apart from the player's own
    const auto fastest = FastestImportedGhost("Sunny", "SMiLE");
    ASSERT_TRUE(fastest);
    EXPECT_EQ(fastest->path, Path(300));
    EXPECT_EQ(fastest->label.player, "Zoé");
    EXPECT_FALSE(FastestImportedGhost("Sunny", "911PIZ"));
    // A faster friend is the fastest; a broken file among them is skipped and left alone.
    WriteFile(ImportedGhostFolder() / "Sunny-SMiLE-Max.ghost",
              FormatGhost(Path(200), {"Max", "Sunny", "SMiLE"}));
    WriteFile(ImportedGhostFolder() / "Sunny-SMiLE-Bad.ghost", "broken");
    EXPECT_EQ(FastestImportedGhost("Sunny", "SMiLE")->label.player, "Max");
    EXPECT_EQ(GameImportedGhosts.headers(true).size(), 2u);
    EXPECT_EQ(ReadFile(ImportedGhostFolder() / "Sunny-SMiLE-Bad.ghost"), "broken");
    // Names as long as a file may carry: still kept, two of them apart.
    for (char c : {'a', 'b'}) {
      const fs::path offered = second.path() / "long.ghost";
      WriteFile(offered, FormatGhost(Path(100), {std::string(GhostMaxName, c), "Sunny", "SMiLE"}));
      ASSERT_TRUE(ImportGhost(offered, {"Sunny"}, reason, &ghost)) << reason;
      EXPECT_LE(ghost.file.filename().string().size(), 255u);
    }
    EXPECT_EQ(GameImportedGhosts.headers(true).size(), 4u);
    EXPECT_EQ(FastestImportedGhost("Sunny", "SMiLE")->path, Path(100));
  }
  GameGhosts = GhostStore();
  GameSettings.reload();
}

TEST(GhostShare, HostileFilesAreRefusedWithTheirReasonsAndNothingIsStored) {
  testing_support::ScratchFolder scratch;
  const std::string whole = FormatGhost(Path(60), {"Zoe", "Sunny", "SMiLE"});
  std::string newer = whole;
  newer[6] = 3;
  std::string older = FormatGhost(Path(60));
  older = WithChecksum("QGHOST\x01" + older.substr(10, older.size() - 14));
  const struct {
    const char* name;
    std::string bytes;
    const char* reason;
  } cases[] = {
      {"truncated", whole.substr(0, whole.size() - 9), "not a whole ghost file"},
      {"wrong track", FormatGhost(Path(60), {"Zoe", "Moon", "SMiLE"}), "made for another track"},
      {"NaN", HandMade("Sunny", 1, 1, std::numeric_limits<float>::quiet_NaN()),
       "not a whole ghost file"},
      {"infinity", HandMade("Sunny", 1, 1, std::numeric_limits<float>::infinity()),
       "not a whole ghost file"},
      {"huge steps", HandMade("Sunny", 0xFFFFFFFFu, 1, 1.0f), "not a whole ghost file"},
      {"huge laps", HandMade("Sunny", 1, 0x7FFFFFFFu, 1.0f), "not a whole ghost file"},
      {"version 3", newer, "newer version of the game (ghost file version 3)"},
      {"version 1", older, "version 1 names no track"},
      {"no car", FormatGhost(Path(60), {"Zoe", "Sunny", ""}), "names no car"},
      {"text", "a text file, not a ghost", "not a whole ghost file"},
  };
  for (const auto& c : cases) {
    const fs::path file = scratch.path() / "offered.ghost";
    WriteFile(file, c.bytes);
    std::string reason;
    EXPECT_FALSE(ImportGhost(file, {"Sunny"}, reason)) << c.name;
    EXPECT_NE(reason.find(c.reason), std::string::npos) << c.name << ": " << reason;
    EXPECT_EQ(ReadFile(file), c.bytes) << c.name;  // the offered file is left as it is
    EXPECT_FALSE(fs::exists(ImportedGhostFolder())) << c.name;
  }
  std::string reason;
  EXPECT_FALSE(ImportGhost(scratch.path() / "missing.ghost", {"Sunny"}, reason));
  EXPECT_EQ(reason, "no such file");
  EXPECT_FALSE(ImportGhost(scratch.path(), {"Sunny"}, reason));  // a folder
  EXPECT_FALSE(fs::exists(ImportedGhostFolder()));
}

TEST(GhostShare, ExportReplacesOnlyARegularFileAndRefusesAnythingElseAtTheTarget) {
  testing_support::ScratchFolder scratch;
  ASSERT_TRUE(GameGhosts.keep("Sunny", "SMiLE", Path(120)));
  const fs::path fifo = scratch.path() / "fifo", folder = scratch.path() / "folder",
                 socket = scratch.path() / "socket", link = scratch.path() / "link",
                 file = scratch.path() / "file.ghost";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  fs::create_directory(folder);
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::snprintf(address.sun_path, sizeof address.sun_path, "%s", socket.c_str());
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  fs::create_symlink(fifo, link);
  for (const fs::path& target : {fifo, folder, socket, link}) {
    std::string error;
    EXPECT_FALSE(ExportGhost("Sunny", "SMiLE", target, error)) << target;
    EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
    EXPECT_FALSE(fs::is_regular_file(target)) << target;
  }
  ::close(fd);
  EXPECT_TRUE(fs::is_fifo(fifo));
  EXPECT_TRUE(fs::is_symlink(link));
  WriteFile(file, "an older export");
  std::string error;
  EXPECT_TRUE(ExportGhost("Sunny", "SMiLE", file, error)) << error;
  GhostPath read;
  EXPECT_EQ(ParseGhost(ReadFile(file), read), GhostRead::Read);
  GameGhosts = GhostStore();
}

TEST(GhostShare, EachImportedHeaderIsReadOnceAndOnlyTheGhostRacedIsReadWhole) {
  testing_support::ScratchFolder scratch;
  const fs::path folder = ImportedGhostFolder();
  for (int i = 0; i < 6; ++i) {
    const std::string player = "P" + std::to_string(i);
    WriteFile(folder / (player + ".ghost"),
              FormatGhost(Path(100 + 10 * i), {player, "Sunny", i % 2 ? "SMiLE" : "911PIZ"}));
  }
  // A header that reads before a broken body: the fastest by its header, never raced.
  std::string broken = FormatGhost(Path(50), {"Cut", "Sunny", "SMiLE"});
  WriteFile(folder / "Cut.ghost", broken.substr(0, broken.size() - 1));
  ImportedGhostIndex index;
  int starts = 0, wholes = 0;
  index.read = [&, read = index.read](const fs::path& file, size_t limit, bool whole,
                                      std::string& bytes) {
    ++(whole ? wholes : starts);
    return read(file, limit, whole, bytes);
  };
  EXPECT_EQ(index.fastest("Sunny", "SMiLE")->label.player, "P1");
  EXPECT_EQ(starts, 7);
  EXPECT_EQ(wholes, 2);  // the broken one, then P1
  EXPECT_EQ(index.fastest("Sunny", "911PIZ")->label.player, "P0");
  EXPECT_EQ(index.fastest("Sunny", "SMiLE")->label.player, "P1");
  EXPECT_EQ(starts, 7);
  EXPECT_EQ(wholes, 4);
  // A new import is found, and only its header read.
  WriteFile(folder / "Fast.ghost", FormatGhost(Path(60), {"Fast", "Sunny", "SMiLE"}));
  EXPECT_EQ(index.fastest("Sunny", "SMiLE")->label.player, "Fast");
  EXPECT_EQ(starts, 8);
  EXPECT_EQ(index.headers(true).size(), 7u);  // the broken one left out
}

}  // namespace
