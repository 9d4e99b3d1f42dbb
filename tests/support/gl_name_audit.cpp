// GL name audit: the executable's own definitions of the GL name calls take the game's calls,
// check the name against the current EGL context's records, then forward to the driver.
#include "support/gl_name_audit.h"

#include <EGL/egl.h>
#include <GL/gl.h>
#include <dlfcn.h>

#include <map>
#include <set>

namespace testing_support {
namespace {

struct ContextNames {
  std::set<GLuint> textures;
  std::set<GLuint> lists;
  GLuint listBase = 0;
};

std::map<EGLContext, ContextNames>& Contexts() {
  static std::map<EGLContext, ContextNames> contexts;
  return contexts;
}

void Fault(const std::string& text) {
  GlNameAudit& audit = GlAudit();
  if (audit.faults.size() < 20) audit.faults.push_back(text);
  ++audit.faultCount;
}

// The current context's records, or null (and a fault) when no context is current.
ContextNames* Current(const char* call) {
  if (!GlAudit().enabled) return nullptr;
  EGLContext context = eglGetCurrentContext();
  if (context == EGL_NO_CONTEXT) {
    Fault(std::string(call) + " with no context current");
    return nullptr;
  }
  return &Contexts()[context];
}

void CheckKnown(const std::set<GLuint>& names, GLuint name, const char* call) {
  if (name != 0 && names.count(name) == 0)
    Fault(std::string(call) + "(" + std::to_string(name) + ") not made in this context");
}

template <typename Function>
Function Real(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

}  // namespace

GlNameAudit& GlAudit() {
  static GlNameAudit audit;
  return audit;
}

void GlNameAudit::forgetCurrentContext() {
  Contexts().erase(eglGetCurrentContext());
}

void GlNameAudit::reset() {
  *this = GlNameAudit{};
  Contexts().clear();
}

}  // namespace testing_support

using testing_support::CheckKnown;
using testing_support::Current;

extern "C" {

void glGenTextures(GLsizei n, GLuint* textures) {
  static auto real = testing_support::Real<void (*)(GLsizei, GLuint*)>("glGenTextures");
  real(n, textures);
  if (auto* names = Current("glGenTextures")) {
    for (GLsizei i = 0; i < n; ++i) names->textures.insert(textures[i]);
    testing_support::GlAudit().texturesMade += n;
  }
}

void glDeleteTextures(GLsizei n, const GLuint* textures) {
  static auto real = testing_support::Real<void (*)(GLsizei, const GLuint*)>("glDeleteTextures");
  if (auto* names = Current("glDeleteTextures")) {
    for (GLsizei i = 0; i < n; ++i) {
      CheckKnown(names->textures, textures[i], "glDeleteTextures");
      names->textures.erase(textures[i]);
    }
  }
  real(n, textures);
}

void glBindTexture(GLenum target, GLuint texture) {
  static auto real = testing_support::Real<void (*)(GLenum, GLuint)>("glBindTexture");
  if (auto* names = Current("glBindTexture")) CheckKnown(names->textures, texture, "glBindTexture");
  real(target, texture);
}

GLuint glGenLists(GLsizei range) {
  static auto real = testing_support::Real<GLuint (*)(GLsizei)>("glGenLists");
  GLuint first = real(range);
  if (auto* names = Current("glGenLists"); names && first != 0) {
    for (GLsizei i = 0; i < range; ++i) names->lists.insert(first + static_cast<GLuint>(i));
    testing_support::GlAudit().listsMade += range;
  }
  return first;
}

void glDeleteLists(GLuint list, GLsizei range) {
  static auto real = testing_support::Real<void (*)(GLuint, GLsizei)>("glDeleteLists");
  if (auto* names = Current("glDeleteLists")) {
    for (GLsizei i = 0; i < range; ++i) {
      CheckKnown(names->lists, list + static_cast<GLuint>(i), "glDeleteLists");
      names->lists.erase(list + static_cast<GLuint>(i));
    }
  }
  real(list, range);
}

void glNewList(GLuint list, GLenum mode) {
  static auto real = testing_support::Real<void (*)(GLuint, GLenum)>("glNewList");
  if (auto* names = Current("glNewList")) CheckKnown(names->lists, list, "glNewList");
  real(list, mode);
}

void glCallList(GLuint list) {
  static auto real = testing_support::Real<void (*)(GLuint)>("glCallList");
  if (auto* names = Current("glCallList")) CheckKnown(names->lists, list, "glCallList");
  real(list);
}

void glListBase(GLuint base) {
  static auto real = testing_support::Real<void (*)(GLuint)>("glListBase");
  if (auto* names = Current("glListBase")) names->listBase = base;
  real(base);
}

void glCallLists(GLsizei n, GLenum type, const GLvoid* lists) {
  static auto real = testing_support::Real<void (*)(GLsizei, GLenum, const GLvoid*)>("glCallLists");
  auto* names = Current("glCallLists");
  if (names && type == GL_UNSIGNED_BYTE) {
    const auto* codes = static_cast<const GLubyte*>(lists);
    for (GLsizei i = 0; i < n; ++i)
      CheckKnown(names->lists, names->listBase + codes[i], "glCallLists");
  }
  real(n, type, lists);
}

}  // extern "C"
