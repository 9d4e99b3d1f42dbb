// The track editor's screen: opening a track, the keys and the mouse on the map, the properties,
// saving, and the way back to the track selection.
#include "editor/editor_screen.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <system_error>

#include "assets/data_root.h"
#include "editor/editor_session.h"
#include "editor/track_pictures.h"
#include "editor/track_saving.h"
#include "game/game_setup.h"
#include "game/game_sounds.h"
#include "platform/clock.h"
#include "platform/frame_flags.h"
#include "platform/keys.h"
#include "platform/mouse.h"
#include "platform/typed_text.h"
#include "platform/window_system.h"
#include "track/file_tracks.h"
#include "track/track.h"
#include "track/track_definitions.h"
#include "track/track_identity.h"

EditorSession Editor;

namespace {

constexpr int KeyS = 'S', KeyT = 'T', KeyY = 'Y', KeyZ = 'Z', KeyN = 'N';
// How far the arrows move a waypoint, and PgUp/PgDn raise it, in units (Shift: four times).
constexpr double KeyStep = 0.5;

bool SameFolder(const std::filesystem::path& a, const std::filesystem::path& b) {
  std::error_code error;
  return !a.empty() && !b.empty() &&
         std::filesystem::weakly_canonical(a, error) == std::filesystem::weakly_canonical(b, error);
}

std::vector<std::string> TrackNames() {
  std::vector<std::string> names;
  for (int i = 0; i < TrackCount; ++i) names.push_back(TrackTable[i].name);
  return names;
}

void Open(EditedTrack track, std::vector<std::string> otherNames,
          std::optional<std::filesystem::path> own, std::string pictureFolder) {
  Editor = EditorSession{};
  Editor.editing.emplace(std::move(track), std::move(otherNames));
  Editor.own = std::move(own);
  Editor.pictureFolder = std::move(pictureFolder);
  ClearMouseState();
  ScreenState = EditorScreenState;
  // The pointer shows here even in full screen.
  if (auto* ws = platform::CurrentWindowSystemIfAny()) ws->showCursor(true);
}

void Leave() {
  PlaySound(Sound::Back);
  ReleaseEditorPictures();
  if (auto* ws = platform::CurrentWindowSystemIfAny()) ws->showCursor(!Fullscreen);
  ScreenState = screen::TrackSelection;
  if (!Editor.savedAny) return;
  // The track selection offers what was saved, shown at once.
  const std::string saved = Editor.own ? Editor.own->string() : std::string();
  ForgetTrackFiles();
  DefineFileTracks();
  int chosen = std::min<int>(SelectedTrackIndex, TrackCount - 1);
  for (int i = 0; i < TrackCount; ++i)
    if (!saved.empty() && SameFolder(TrackTable[i].origin, saved)) chosen = i;
  SelectedTrackIndex = static_cast<int16_t>(chosen);
  SelectedTrack = &TrackTable[chosen];
}

// Pictures a copy names beside its old file go with it into the player's folder.
void CopyPictures(const std::filesystem::path& to) {
  const EditedTrack& t = Editor.editing->track();
  for (const std::string* file : {&t.road, &t.border, &t.sky}) {
    std::error_code error;
    const auto from = std::filesystem::path(Editor.pictureFolder) / *file;
    const auto there = to.parent_path() / *file;
    if (Editor.pictureFolder.empty() || SameFolder(from.parent_path(), to.parent_path())) continue;
    if (std::filesystem::exists(from, error) && !std::filesystem::exists(there, error))
      std::filesystem::copy_file(from, there, error);
  }
}

void Save() {
  TrackEditing& editing = *Editor.editing;
  if (!editing.check().good()) {
    PlaySound(Sound::Back);
    return SayInEditor("Not saved: " + editing.check().faults.front().reason);
  }
  const TrackTargets targets = Editor.targets.forRace(TrackHash(ContentOf(editing.track())));
  const TrackSaving saving = SaveTrackText(PlayerTrackFolder(), editing.track().name,
                                           EditorFileText(editing.track(), targets), Editor.own);
  if (!saving.saved) {
    PlaySound(Sound::Back);
    return SayInEditor("Not saved: " + saving.error);
  }
  CopyPictures(saving.path);
  Editor.own = saving.path;
  Editor.pictureFolder = saving.path.parent_path().string();
  Editor.savedAny = true;
  editing.markSaved();
  PlaySound(Sound::Confirm);
  SayInEditor("Saved as " + saving.path.filename().string());
}

void StepProperty(int step) {
  TrackEditing& editing = *Editor.editing;
  const EditedTrack& t = editing.track();
  const std::string data = DataRoot().empty() ? "Data" : DataRoot() + "/Data";
  switch (*Editor.property) {
    case Property::Laps:
      editing.setLaps(t.laps + step);
      break;
    case Property::Width:
      editing.setHalfWidth(static_cast<float>(std::round((t.halfWidth + 0.1 * step) * 10) / 10));
      break;
    case Property::Sky:
    case Property::Road:
    case Property::Border: {
      const PictureKind kind = *Editor.property == Property::Sky    ? PictureKind::Sky
                               : *Editor.property == Property::Road ? PictureKind::Road
                                                                    : PictureKind::Border;
      const std::string& current = kind == PictureKind::Sky    ? t.sky
                                   : kind == PictureKind::Road ? t.road
                                                               : t.border;
      const auto choices = PictureChoices(kind, data, Editor.pictureFolder, current);
      editing.setPicture(static_cast<int>(kind), StepPicture(choices, current, step));
      break;
    }
    default:
      break;
  }
}

// The text typed goes into the name, in any script (UTF-8, as the file keeps it); the keys that
// typed it are taken first, so that the main loop's own (M, the volume) do not act on them.
void TypeName() {
  TrackEditing& editing = *Editor.editing;
  std::string name = editing.track().name;
  for (int key = VK_SPACE; key <= 0xE2; ++key) {
    const bool typing = key == VK_SPACE || (key >= '0' && key <= '9') ||
                        (key >= 'A' && key <= 'Z') || (key >= 0x60 && key <= 0x6F) ||
                        (key >= 0xBA && key <= 0xC0) || key >= 0xDB;
    if (typing) TakeKeyPress(key);
  }
  for (const char c : TakeTypedText())
    if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) name += c;
  if (TakeKeyPress(VK_BACK) && !name.empty()) {
    // The whole of the last character, however many bytes it takes.
    while (name.size() > 1 && (static_cast<unsigned char>(name.back()) & 0xC0) == 0x80)
      name.pop_back();
    name.pop_back();
  }
  // The check says when it no longer fits the track selection; far longer is not taken.
  if (name.size() <= 64) editing.setName(name);
}

void PropertiesInput() {
  const int rows = static_cast<int>(Property::Count);
  int row = static_cast<int>(*Editor.property);
  if (TakeKeyPress(VK_UP)) row = (row + rows - 1) % rows;
  if (TakeKeyPress(VK_DOWN) || TakeKeyPress(VK_TAB)) row = (row + 1) % rows;
  Editor.property = static_cast<Property>(row);
  if (TakeKeyPress(VK_LEFT)) StepProperty(-1);
  if (TakeKeyPress(VK_RIGHT)) StepProperty(+1);
  if (TakeKeyPress(VK_RETURN) || TakeKeyPress(VK_ESCAPE)) Editor.property.reset();
}

// The waypoint whose handle is under the screen point, or -1.
int HandleAt(double sx, double sy) {
  const auto& w = Editor.editing->track().waypoints;
  int found = -1;
  double best = 9.0;  // pixels
  for (size_t i = 0; i < w.size(); ++i) {
    const double d = std::hypot(Editor.view.screenX(w[i].x) - sx, Editor.view.screenY(w[i].z) - sy);
    if (d < best) best = d, found = static_cast<int>(i);
  }
  return found;
}

void MouseInput() {
  TrackEditing& editing = *Editor.editing;
  MapView& view = Editor.view;
  const double sx = Mouse.x, sy = Mouse.y;
  const bool onMap = sy >= view.bottom && sy < view.bottom + view.height;
  if (TakeMousePress(MouseLeft) && onMap) {
    const int handle = HandleAt(sx, sy);
    if (handle >= 0) {
      editing.select(handle);
      if (editing.track().movable(handle)) {
        Editor.dragging = handle;
        editing.beginDrag();
      }
    } else if (editing.insertAt(view.groundX(sx), view.groundZ(sy))) {
      PlaySound(Sound::Tick);
    }
  }
  if (Editor.dragging >= 0) {
    if (Mouse.held[MouseLeft]) {
      editing.moveTo(Editor.dragging, view.groundX(sx), view.groundZ(sy));
    } else {
      editing.endDrag();
      Editor.dragging = -1;
    }
  }
  TakeMousePress(MouseRight);
  TakeMousePress(MouseMiddle);
  const bool pan = Mouse.held[MouseRight] || Mouse.held[MouseMiddle];
  if (pan && Editor.panning) view.drag(sx - Editor.lastX, sy - Editor.lastY);
  Editor.panning = pan;
  Editor.lastX = Mouse.x;
  Editor.lastY = Mouse.y;
  if (const int notches = TakeMouseWheel()) {
    if (KeyState[VK_SHIFT])
      editing.raise(editing.selected(), KeyStep * notches);
    else
      view.zoomAbout(sx, sy, std::pow(1.2, notches));
  }
}

void KeyboardInput() {
  TrackEditing& editing = *Editor.editing;
  const bool control = KeyState[VK_CONTROL];
  const double step = KeyState[VK_SHIFT] ? 4 * KeyStep : KeyStep;
  const int selected = editing.selected();
  const Vector3d at = editing.track().waypoints[static_cast<size_t>(selected)];
  if (TakeKeyPress(VK_TAB)) editing.selectNext(KeyState[VK_SHIFT] ? -1 : 1);
  if (TakeKeyPress(VK_LEFT)) editing.moveTo(selected, at.x - step, at.z);
  if (TakeKeyPress(VK_RIGHT)) editing.moveTo(selected, at.x + step, at.z);
  if (TakeKeyPress(VK_UP)) editing.moveTo(selected, at.x, at.z - step);
  if (TakeKeyPress(VK_DOWN)) editing.moveTo(selected, at.x, at.z + step);
  if (TakeKeyPress(VK_PRIOR)) editing.raise(selected, step);
  if (TakeKeyPress(VK_NEXT)) editing.raise(selected, -step);
  if (TakeKeyPress(VK_INSERT)) editing.insertAfter(selected);
  if (TakeKeyPress(VK_DELETE)) editing.remove(selected);
  if (TakeKeyPress(VK_HOME)) Editor.view.fit(editing.check().line);
  if (TakeKeyPress(VK_RETURN)) {
    Editor.property = Property::Name;
    TakeTypedText();  // what was typed before is not the name's
  }
  if (control && TakeKeyPress(KeyZ)) editing.undo();
  if (control && TakeKeyPress(KeyY)) editing.redo();
  if (control && TakeKeyPress(KeyS)) Save();
  if (!control && TakeKeyPress(KeyT)) {
    if (editing.check().good()) {
      DriveEditedTrack();
    } else {
      PlaySound(Sound::Back);
      SayInEditor("Cannot drive: " + editing.check().faults.front().reason);
    }
  }
  if (TakeKeyPress(VK_ESCAPE)) {
    if (editing.changed())
      Editor.askingToLeave = true;
    else
      Leave();
  }
}

}  // namespace

void SayInEditor(const std::string& text) {
  Editor.message = text;
  Editor.messageUntil = platform::MonotonicSeconds() + 4.0;
}

void OpenTrackEditor(int index) {
  if (index < 0 || index >= TrackCount) return;
  const Track& shown = TrackTable[index];
  std::vector<std::string> names = TrackNames();
  if (!shown.fromFile) {
    EditedTrack copy = EditedFromContent(BuiltInTrackContent(index));
    copy.name = CopyName(copy.name, names);
    Open(std::move(copy), names, {}, "");
    return Editor.editing->markUnsaved();
  }
  for (const TrackFileEntry& entry : KnownTrackFiles()) {
    if (entry.path != shown.origin) continue;
    EditedTrack track = EditedFromContent(entry.content);
    if (SameFolder(entry.folder, PlayerTrackFolder())) {
      names.erase(std::find(names.begin(), names.end(), shown.name));
      Open(std::move(track), names, std::filesystem::path(entry.path), entry.folder);
      // Its targets are saved with it while its race stays as it was.
      Editor.targets.opened = entry.content.targets;
      Editor.targets.openedHash = TrackHash(ContentOf(Editor.editing->track()));
      return;
    }
    track.name = CopyName(track.name, names);
    Open(std::move(track), names, {}, entry.folder);
    return Editor.editing->markUnsaved();
  }
}

bool IsPlayerTrack(const Track& track) {
  return track.fromFile &&
         SameFolder(std::filesystem::path(track.origin).parent_path(), PlayerTrackFolder());
}

void OpenNewTrackEditor() {
  std::vector<std::string> names = TrackNames();
  const bool free = std::find(names.begin(), names.end(), "My track") == names.end();
  Open(NewOvalTrack(free ? "My track" : CopyName("My track", names)), names, {}, "");
  Editor.editing->markUnsaved();
}

void DrawTrackEditor() {
  if (!Editor.editing) {
    ScreenState = screen::TrackSelection;
    return;
  }
  if (Editor.property == Property::Name) TypeName();
  DrawEditorMap();
  ++Editor.frames;
}

void TrackEditorInput() {
  if (!Editor.editing) return;
  if (Editor.askingToLeave) {
    if (TakeKeyPress(KeyY)) Leave();
    if (TakeKeyPress(KeyN) || TakeKeyPress(VK_ESCAPE)) Editor.askingToLeave = false;
    return;
  }
  MouseInput();
  if (Editor.property)
    PropertiesInput();
  else
    KeyboardInput();
}
