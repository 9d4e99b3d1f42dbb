// The editor's picture: the track from above on a grid, its handles, start grid and faults, the
// last trial's path, the height profile, the properties and the reason a track cannot be saved.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "assets/data_root.h"
#include "assets/outline_font.h"
#include "assets/text_width.h"
#include "assets/texture.h"
#include "editor/editor_session.h"
#include "editor/text_textures.h"
#include "platform/clock.h"
#include "platform/gl_context_generation.h"

namespace {

// The strip of the height profile and the line of the reason, from the bottom, in pixels.
constexpr double ProfileHeight = 90, ReasonHeight = 26;

// One line of text from (x, y), its letters `size` pixels high.
void DrawText(double x, double y, double size, const std::string& text) {
  glPushMatrix();
  glTranslated(x + TextWidth(text) * size / 2, y, 0);
  glScaled(size, size, 1);
  PrintText("%s", text.c_str());
  glPopMatrix();
}

// Most texts stay the same from frame to frame: shown from textures.
TextTextures gTexts(DrawText);

void Text(double x, double y, double size, const std::string& text) {
  gTexts.show(x, y, size, text);
}

// The sky preview's texture, the picture it shows and the GL context it was made in.
GLuint gSkyTexture = 0;
std::string gSkyShown;
uint32_t gSkyGeneration = 0;

void ReleaseSkyPreview() {
  if (gSkyTexture != 0 && gSkyGeneration == platform::GlContextGeneration())
    glDeleteTextures(1, &gSkyTexture);
  gSkyTexture = 0;
  gSkyShown.clear();
}

std::string Fixed(double value, int decimals) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

void Grid(const MapView& v) {
  // Lines at least 24 pixels apart: 1, 2, 5, 10, 20, 50 ... units.
  double unit = 1;
  for (int i = 0; unit * v.scale < 24 && i < 30; ++i) unit *= (i % 3 == 1) ? 2.5 : 2;
  const double x0 = std::floor(v.groundX(v.left) / unit) * unit, x1 = v.groundX(v.left + v.width);
  const double z0 = std::floor(v.groundZ(v.bottom + v.height) / unit) * unit,
               z1 = v.groundZ(v.bottom);
  glBegin(GL_LINES);
  for (double x = x0; x <= x1; x += unit) {
    const float shade = std::fabs(x) < unit / 2 ? 0.35f : 0.2f;
    glColor3f(shade, shade, shade + 0.05f);
    glVertex3d(v.screenX(x), v.bottom, -1000);
    glVertex3d(v.screenX(x), v.bottom + v.height, -1000);
  }
  for (double z = z0; z <= z1; z += unit) {
    const float shade = std::fabs(z) < unit / 2 ? 0.35f : 0.2f;
    glColor3f(shade, shade, shade + 0.05f);
    glVertex3d(v.left, v.screenY(z), -1000);
    glVertex3d(v.left + v.width, v.screenY(z), -1000);
  }
  glEnd();
}

// The road's edges at sample i: the centre moved by the half-width across the line.
void Edges(const std::vector<Vector3d>& line, size_t i, double halfWidth, Vector3d& left,
           Vector3d& right) {
  const Vector3d& a = line[i == 0 ? 0 : i - 1];
  const Vector3d& b = line[std::min(i + 1, line.size() - 1)];
  double dx = b.x - a.x, dz = b.z - a.z;
  const double length = std::max(std::hypot(dx, dz), 1e-9);
  dx /= length, dz /= length;
  left = Vector3d(line[i].x + dz * halfWidth, line[i].y, line[i].z - dx * halfWidth);
  right = Vector3d(line[i].x - dz * halfWidth, line[i].y, line[i].z + dx * halfWidth);
}

// The road in flat colours, lighter where it is higher, and its white edges; higher parts are
// drawn over lower ones.
void Road(const MapView& v, const std::vector<Vector3d>& all, double halfWidth) {
  if (all.size() < 2) return;
  // Samples closer than three pixels to the last one drawn add nothing to the picture. The
  // buffers are kept from frame to frame: no allocation while the map is drawn.
  static std::vector<Vector3d> line, left, right;
  line.assign(1, all.front());
  for (size_t i = 1; i + 1 < all.size(); ++i)
    if (std::hypot(all[i].x - line.back().x, all[i].z - line.back().z) * v.scale >= 3 ||
        std::fabs(all[i].y - line.back().y) > 0.2)
      line.push_back(all[i]);
  line.push_back(all.back());
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  left.resize(line.size());
  right.resize(line.size());
  for (size_t i = 0; i < line.size(); ++i) Edges(line, i, halfWidth, left[i], right[i]);
  glBegin(GL_QUAD_STRIP);
  for (size_t i = 0; i < line.size(); ++i) {
    const float shade = static_cast<float>(std::clamp(0.32 + line[i].y * 0.1, 0.22, 0.9));
    glColor3f(shade, shade, shade);
    glVertex3d(v.screenX(left[i].x), v.screenY(left[i].z), line[i].y);
    glVertex3d(v.screenX(right[i].x), v.screenY(right[i].z), line[i].y);
  }
  glEnd();
  glColor3f(0.95f, 0.95f, 0.95f);
  for (const auto* edge : {&left, &right}) {
    glBegin(GL_LINE_STRIP);
    for (size_t i = 0; i < line.size(); ++i)
      glVertex3d(v.screenX((*edge)[i].x), v.screenY((*edge)[i].z), line[i].y + 0.01);
    glEnd();
  }
  glDisable(GL_DEPTH_TEST);
}

void Square(double x, double y, double half) {
  glBegin(GL_QUADS);
  glVertex2d(x - half, y - half);
  glVertex2d(x + half, y - half);
  glVertex2d(x + half, y + half);
  glVertex2d(x - half, y + half);
  glEnd();
}

void Ring(double x, double y, double radius) {
  glBegin(GL_LINE_LOOP);
  for (int i = 0; i < 16; ++i)
    glVertex2d(x + radius * std::cos(i * 0.3927), y + radius * std::sin(i * 0.3927));
  glEnd();
}

// The start grid, 2.3 behind the line, and an arrow along +x: the way the race starts.
void StartGrid(const MapView& v, double halfWidth) {
  glColor3f(1.0f, 1.0f, 1.0f);
  glLineWidth(3.0f);
  glBegin(GL_LINES);
  glVertex2d(v.screenX(-2.3), v.screenY(-halfWidth));
  glVertex2d(v.screenX(-2.3), v.screenY(halfWidth));
  glVertex2d(v.screenX(0), v.screenY(-halfWidth));
  glVertex2d(v.screenX(0), v.screenY(halfWidth));
  glEnd();
  glLineWidth(1.0f);
  const double x = v.screenX(-2.3), y = v.screenY(0), s = std::clamp(v.scale, 8.0, 40.0);
  glColor3f(0.2f, 0.9f, 0.3f);
  glBegin(GL_TRIANGLES);
  glVertex2d(x + s * 1.2, y);
  glVertex2d(x + s * 0.4, y + s * 0.35);
  glVertex2d(x + s * 0.4, y - s * 0.35);
  glEnd();
}

void Handles(const MapView& v, const TrackEditing& editing) {
  const auto& w = editing.track().waypoints;
  for (size_t i = 0; i < w.size(); ++i) {
    const bool fixed = !editing.track().movable(static_cast<int>(i));
    const bool selected = static_cast<int>(i) == editing.selected();
    glColor3f(0, 0, 0);
    Square(v.screenX(w[i].x), v.screenY(w[i].z), selected ? 7 : 5.5);
    if (selected)
      glColor3f(1.0f, 0.9f, 0.1f);
    else if (fixed)
      glColor3f(0.6f, 0.6f, 0.6f);
    else
      glColor3f(0.2f, 0.8f, 1.0f);
    Square(v.screenX(w[i].x), v.screenY(w[i].z), selected ? 5 : 4);
  }
}

void Faults(const MapView& v, const EditorCheck& check) {
  glColor3f(1.0f, 0.1f, 0.1f);
  glLineWidth(3.0f);
  for (const EditorFault& fault : check.faults) {
    if (!fault.where) continue;
    const double x = v.screenX(fault.where->x), y = v.screenY(fault.where->z);
    Ring(x, y, 13);
    glBegin(GL_LINES);
    glVertex2d(x - 8, y - 8);
    glVertex2d(x + 8, y + 8);
    glVertex2d(x - 8, y + 8);
    glVertex2d(x + 8, y - 8);
    glEnd();
  }
  glLineWidth(1.0f);
}

// The last trial's path: yellow, red where the car hit a border.
void Driven(const MapView& v) {
  const auto& path = Editor.driven;
  glLineWidth(2.0f);
  glBegin(GL_LINES);
  for (size_t i = 1; i < path.size(); ++i) {
    if (path[i].hit)
      glColor3f(1.0f, 0.15f, 0.1f);
    else
      glColor3f(1.0f, 0.85f, 0.0f);
    glVertex2d(v.screenX(path[i - 1].at.x), v.screenY(path[i - 1].at.z));
    glVertex2d(v.screenX(path[i].at.x), v.screenY(path[i].at.z));
  }
  glEnd();
  glLineWidth(1.0f);
}

// Heights along the line, left to right, the waypoints marked, in the strip at the bottom.
void Profile(double width, const TrackEditing& editing) {
  const auto& line = editing.check().line;
  // About two samples a pixel across the strip.
  const size_t every =
      std::max<size_t>(1, line.size() / static_cast<size_t>(std::max(1.0, width * 2)));
  glColor3f(0.08f, 0.08f, 0.12f);
  glBegin(GL_QUADS);
  glVertex2d(0, 0);
  glVertex2d(width, 0);
  glVertex2d(width, ProfileHeight);
  glVertex2d(0, ProfileHeight);
  glEnd();
  if (line.size() < 2) return;
  double low = 0, high = 2;
  for (const Vector3d& p : line) low = std::min(low, p.y), high = std::max(high, p.y);
  const double x0 = 60, x1 = width - 10, y0 = 12, y1 = ProfileHeight - 8;
  const auto sx = [&](size_t i) { return x0 + (x1 - x0) * i / (line.size() - 1); };
  const auto sy = [&](double y) { return y0 + (y1 - y0) * (y - low) / (high - low); };
  glColor3f(0.3f, 0.3f, 0.35f);
  glBegin(GL_LINES);
  glVertex2d(x0, sy(0));
  glVertex2d(x1, sy(0));
  glEnd();
  glColor3f(0.4f, 0.9f, 0.5f);
  glBegin(GL_LINE_STRIP);
  for (size_t i = 0; i < line.size(); i += every) glVertex2d(sx(i), sy(line[i].y));
  glVertex2d(sx(line.size() - 1), sy(line.back().y));
  glEnd();
  const auto steps = static_cast<size_t>(std::max(1, editing.check().content.steps));
  const auto& w = editing.track().waypoints;
  for (size_t k = 0; k < w.size(); ++k) {
    const bool selected = static_cast<int>(k) == editing.selected();
    if (selected)
      glColor3f(1.0f, 0.9f, 0.1f);
    else
      glColor3f(0.2f, 0.8f, 1.0f);
    Square(sx(std::min(k * steps, line.size() - 1)), sy(w[k].y), selected ? 4 : 2.5);
  }
  glColor3f(0.7f, 0.7f, 0.7f);
  Text(6, ProfileHeight - 20, 12, "height");
  Text(6, 8, 12, Fixed(low + 0.0, 1) + ".." + Fixed(high, 1));
}

// The sky picture of the track, small, while its row is chosen.
void SkyPreview(double x, double y) {
  GLuint& texture = gSkyTexture;
  const std::string& sky = Editor.editing->track().sky;
  if (sky != gSkyShown || gSkyGeneration != platform::GlContextGeneration()) {
    ReleaseSkyPreview();
    const std::string beside = Editor.pictureFolder + "/" + sky;
    std::string path = "Data/" + sky;
    if (!Editor.pictureFolder.empty()) {
      if (std::FILE* file = std::fopen(beside.c_str(), "rb")) {
        std::fclose(file);
        path = beside;
      }
    }
    texture = LoadTexture(path.c_str(), TextureFilter::Linear);
    gSkyShown = sky;
    gSkyGeneration = platform::GlContextGeneration();
  }
  if (texture == 0) return;
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, texture);
  glColor3f(1, 1, 1);
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0);
  glVertex2d(x, y);
  glTexCoord2f(1, 0);
  glVertex2d(x + 160, y);
  glTexCoord2f(1, 1);
  glVertex2d(x + 160, y + 100);
  glTexCoord2f(0, 1);
  glVertex2d(x, y + 100);
  glEnd();
  glDisable(GL_TEXTURE_2D);
}

void Panel(double top, const TrackEditing& editing) {
  const EditedTrack& t = editing.track();
  const Vector3d& w = t.waypoints[static_cast<size_t>(editing.selected())];
  const std::string rows[] = {"Name: " + t.name,
                              "Laps: " + std::to_string(t.laps),
                              "Width: " + Fixed(t.halfWidth, 1),
                              "Sky: " + t.sky,
                              "Road: " + t.road,
                              "Border: " + t.border};
  const double size = 15;
  glColor4f(0, 0, 0, 0.6f);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glBegin(GL_QUADS);
  glVertex2d(0, top);
  glVertex2d(250, top);
  glVertex2d(250, top - (Editor.property ? 170 : 70));
  glVertex2d(0, top - (Editor.property ? 170 : 70));
  glEnd();
  glDisable(GL_BLEND);
  double y = top - 20;
  glColor3f(1.0f, 1.0f, 0.6f);
  Text(8, y, size, t.name + (editing.changed() ? " *" : ""));
  y -= 20;
  glColor3f(0.85f, 0.85f, 0.85f);
  Text(8, y, 12,
       "Length " + Fixed(editing.check().length, 1) + "  Laps " + std::to_string(t.laps) +
           "  Width " + Fixed(t.halfWidth, 1));
  y -= 18;
  Text(8, y, 12, "Waypoint " + std::to_string(editing.selected()) + " height " + Fixed(w.y, 1));
  if (!Editor.property) return;
  y -= 6;
  for (int row = 0; row < static_cast<int>(Property::Count); ++row) {
    y -= 17;
    const bool chosen = static_cast<int>(*Editor.property) == row;
    if (chosen)
      glColor3f(1.0f, 0.9f, 0.1f);
    else
      glColor3f(0.8f, 0.8f, 0.8f);
    Text(8, y, 13, (chosen ? "> " : "  ") + rows[row] + (chosen && row == 0 ? "_" : ""));
  }
  if (*Editor.property == Property::Sky) SkyPreview(260, top - 170);
}

}  // namespace

void ReleaseEditorPictures() {
  ReleaseSkyPreview();
  gTexts.release();
}

size_t EditorTextTextureCount() {
  return gTexts.textureCount();
}

void DrawEditorMap() {
  TrackEditing& editing = *Editor.editing;
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  const double width = viewport[2], height = viewport[3];
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(0, width, 0, height, -2000, 2000);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_LIGHTING);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_FOG);
  glDisable(GL_BLEND);
  glDisable(GL_CULL_FACE);
  glDisable(GL_POLYGON_SMOOTH);  // costly on a software renderer, and the map needs none
  gTexts.beginFrame(viewport);   // in the buffer about to be cleared
  glClearColor(0.1f, 0.13f, 0.1f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

  MapView& v = Editor.view;
  v.left = 0, v.bottom = ProfileHeight + ReasonHeight, v.width = width;
  v.height = height - v.bottom;
  if (!Editor.viewFitted) {
    v.fit(editing.check().line);
    Editor.viewFitted = true;
  }
  Grid(v);
  Road(v, editing.check().line, editing.track().halfWidth);
  StartGrid(v, editing.track().halfWidth);
  Driven(v);
  Faults(v, editing.check());
  Handles(v, editing);

  Profile(width, editing);
  // The reason line: what stops the track, or what can be done with it.
  glColor3f(0.0f, 0.0f, 0.0f);
  glBegin(GL_QUADS);
  glVertex2d(0, ProfileHeight);
  glVertex2d(width, ProfileHeight);
  glVertex2d(width, v.bottom);
  glVertex2d(0, v.bottom);
  glEnd();
  std::string reason;
  if (!Editor.message.empty() && platform::MonotonicSeconds() < Editor.messageUntil) {
    glColor3f(1.0f, 0.9f, 0.3f);
    reason = Editor.message;
  } else if (!editing.check().good()) {
    glColor3f(1.0f, 0.3f, 0.25f);
    reason = editing.check().faults.front().reason;
    if (editing.check().faults.size() > 1)
      reason += " (" + std::to_string(editing.check().faults.size()) + " faults)";
  } else {
    glColor3f(0.4f, 1.0f, 0.4f);
    reason = "Good: T drives it, Ctrl+S saves it";
  }
  Text(8, ProfileHeight + 7, 13, reason);

  Panel(height, editing);
  glColor3f(0.7f, 0.7f, 0.7f);
  // Every letter of the outline font costs a software renderer a good deal: the keys in short.
  const std::string keys = "Tab arrows PgUp PgDn Ins Del Home Enter Ctrl+Z/Y";
  Text(width - TextWidth(keys) * 11 - 8, height - 16, 11, keys);

  if (Editor.askingToLeave) {
    glColor3f(0, 0, 0);
    Square(width / 2, height / 2, 120);
    glColor3f(1.0f, 0.9f, 0.3f);
    const std::string ask = "Leave without saving? Y / N";
    Text(width / 2 - TextWidth(ask) * 9, height / 2 - 6, 18, ask);
  }
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glPopAttrib();
}
