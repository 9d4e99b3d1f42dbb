// The road of a track: a textured ribbon along the centre line and a low wall on each side,
// compiled into the track's display list.
#include <GL/gl.h>

#include "platform/gl_context_generation.h"
#include "track/file_tracks.h"
#include "track/road_edges.h"
#include "track/track.h"

namespace {

void Vertex(const Vector3d& v) {
  glVertex3f(static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z));
}

// The wall's top edge is its bottom edge moved by a fixed offset in track coordinates.
Vector3d LeftTop(const Vector3d& v) {
  return v + Vector3d(0, 0.08, -0.19);
}
Vector3d RightTop(const Vector3d& v) {
  return v + Vector3d(0, 0.08, 0.19);
}

// One quad's corners with texture coordinates (0, 0), (1, 0), (1, 1), (0, 1), inside a
// glBegin(GL_QUADS) the caller holds.
void TexturedQuad(const Vector3d& a, const Vector3d& b, const Vector3d& c, const Vector3d& d) {
  glTexCoord2f(0, 0);
  Vertex(a);
  glTexCoord2f(1, 0);
  Vertex(b);
  glTexCoord2f(1, 1);
  Vertex(c);
  glTexCoord2f(0, 1);
  Vertex(d);
}

// Walks the road's edges from centre point 0 to the last but one, with the loop counter a
// float as the road has always used: passes take i = 1 .. count - 2. Calls step(edge, next)
// for each pair of neighbouring edges and returns the last edge reached.
template <typename Step>
EdgePair WalkEdges(const std::vector<Vector3d>& p, float halfWidth, Step step) {
  SideDirection side = SideDirectionAt(p, 0, kStartSideDirection);
  EdgePair edge = EdgesAt(p[0], halfWidth, side);
  for (float counter = 1.0f; counter < static_cast<float>(p.size() - 1);) {
    const size_t i = static_cast<size_t>(counter);
    counter += 1.0f;
    side = SideDirectionAt(p, i, side);
    const EdgePair next = EdgesAt(p[i], halfWidth, side);
    step(edge, next);
    edge = next;
  }
  return edge;
}

}  // namespace

void Track::buildRoad() {
  // The list binds the pictures' textures: a file's track loads them first.
  LoadFileTrackPictures(*this);
  // A list made in an earlier GL context is gone with it, and its number may now name a glyph
  // or a model of the new one: forget it instead of deleting it.
  const uint32_t generation = platform::GlContextGeneration();
  if (roadList != 0 && roadListGeneration == generation) glDeleteLists(roadList, 1);
  roadList = glGenLists(1);
  roadListGeneration = generation;
  glNewList(roadList, GL_COMPILE);

  const std::vector<Vector3d>& p = curve.points;
  if (p.size() < 2) {  // no centre line to follow: the list stays empty
    glEndList();
    return;
  }

  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, roadTexture);
  glColor3f(1, 1, 1);
  const EdgePair edge = WalkEdges(p, halfWidth, [](const EdgePair& edge, const EdgePair& next) {
    glBegin(GL_QUADS);
    TexturedQuad(edge.left, edge.right, next.right, next.left);
    glEnd();
  });

  // The closing quad reaches past the start point to x = 1, over the first unit of road.
  glColor3f(1, 1, 1);
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0);
  Vertex(edge.left);
  glTexCoord2f(1, 0);
  Vertex(edge.right);
  glTexCoord2f(1, 1);
  glVertex3f(1, 0, halfWidth);
  glTexCoord2f(0, 1);
  glVertex3f(1, 0, -halfWidth);
  glEnd();

  buildBorders();

  glDisable(GL_TEXTURE_2D);
  glEndList();
}

void Track::buildBorders() {
  const std::vector<Vector3d>& p = curve.points;
  if (p.size() < 2) return;

  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, borderTexture);
  glColor3f(1, 1, 1);
  const EdgePair edge = WalkEdges(p, halfWidth, [](const EdgePair& edge, const EdgePair& next) {
    glBegin(GL_QUADS);
    TexturedQuad(edge.left, next.left, LeftTop(next.left), LeftTop(edge.left));
    TexturedQuad(edge.right, next.right, RightTop(next.right), RightTop(edge.right));
    glEnd();
  });

  // Both walls end at the start point, at fixed single-precision points (on a file's track at
  // its own width).
  const float w = fromFile ? halfWidth : 0.7f;
  const float top = fromFile ? halfWidth + 0.19f : 0.89f;
  glColor3f(1, 1, 1);
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0);
  Vertex(edge.left);
  glTexCoord2f(1, 0);
  glVertex3f(0, 0, -w);
  glTexCoord2f(1, 1);
  glVertex3f(0, 0.08f, -top);
  glTexCoord2f(0, 1);
  Vertex(LeftTop(edge.left));

  glTexCoord2f(0, 0);
  Vertex(edge.right);
  glTexCoord2f(1, 0);
  glVertex3f(0, 0, w);
  glTexCoord2f(1, 1);
  glVertex3f(0, 0.08f, top);
  glTexCoord2f(0, 1);
  Vertex(RightTop(edge.right));
  glEnd();

  glDisable(GL_TEXTURE_2D);
}
