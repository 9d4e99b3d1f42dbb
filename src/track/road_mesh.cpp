// The road of a track: a textured ribbon along the centre line and a low wall on each side,
// compiled into the track's display list.
#include <GL/gl.h>

#include "platform/gl_context_generation.h"
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

}  // namespace

void Track::buildRoad() {
  // A list made in an earlier GL context is gone with it, and its number may now name a glyph
  // or a model of the new one: forget it instead of deleting it.
  const uint32_t generation = platform::GlContextGeneration();
  if (roadList != 0 && roadListGeneration == generation) glDeleteLists(roadList, 1);
  roadList = glGenLists(1);
  roadListGeneration = generation;
  glNewList(roadList, GL_COMPILE);

  const std::vector<Vector3d>& p = curve.points;
  const size_t count = p.size();
  if (count < 2) {  // no centre line to follow: the list stays empty
    glEndList();
    return;
  }

  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, roadTexture);
  SideDirection side = SideDirectionAt(p, 0, kStartSideDirection);
  EdgePair edge = EdgesAt(p[0], halfWidth, side);
  glColor3f(1, 1, 1);

  // The counter is a float, as the walls' is: passes take i = 1 .. count - 2.
  for (float counter = 1.0f; counter < static_cast<float>(count - 1);) {
    const size_t i = static_cast<size_t>(counter);
    counter += 1.0f;
    side = SideDirectionAt(p, i, side);
    const EdgePair next = EdgesAt(p[i], halfWidth, side);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    Vertex(edge.left);
    glTexCoord2f(1, 0);
    Vertex(edge.right);
    glTexCoord2f(1, 1);
    Vertex(next.right);
    glTexCoord2f(0, 1);
    Vertex(next.left);
    glEnd();
    edge = next;
  }

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
  const size_t count = p.size();
  if (count < 2) return;

  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, borderTexture);
  SideDirection side = SideDirectionAt(p, 0, kStartSideDirection);
  EdgePair edge = EdgesAt(p[0], halfWidth, side);
  glColor3f(1, 1, 1);

  for (float counter = 1.0f; counter < static_cast<float>(count - 1);) {
    const size_t i = static_cast<size_t>(counter);
    counter += 1.0f;
    side = SideDirectionAt(p, i, side);
    const EdgePair next = EdgesAt(p[i], halfWidth, side);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    Vertex(edge.left);
    glTexCoord2f(1, 0);
    Vertex(next.left);
    glTexCoord2f(1, 1);
    Vertex(LeftTop(next.left));
    glTexCoord2f(0, 1);
    Vertex(LeftTop(edge.left));

    glTexCoord2f(0, 0);
    Vertex(edge.right);
    glTexCoord2f(1, 0);
    Vertex(next.right);
    glTexCoord2f(1, 1);
    Vertex(RightTop(next.right));
    glTexCoord2f(0, 1);
    Vertex(RightTop(edge.right));
    glEnd();
    edge = next;
  }

  // Both walls end at the start point, at fixed single-precision points.
  glColor3f(1, 1, 1);
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0);
  Vertex(edge.left);
  glTexCoord2f(1, 0);
  glVertex3f(0, 0, -0.7f);
  glTexCoord2f(1, 1);
  glVertex3f(0, 0.08f, -0.89f);
  glTexCoord2f(0, 1);
  Vertex(LeftTop(edge.left));

  glTexCoord2f(0, 0);
  Vertex(edge.right);
  glTexCoord2f(1, 0);
  glVertex3f(0, 0, 0.7f);
  glTexCoord2f(1, 1);
  glVertex3f(0, 0.08f, 0.89f);
  glTexCoord2f(0, 1);
  Vertex(RightTop(edge.right));
  glEnd();

  glDisable(GL_TEXTURE_2D);
}
