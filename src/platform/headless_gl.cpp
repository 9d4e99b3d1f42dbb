// EGL surfaceless pbuffer context on Mesa: fixed-function GL with no display server.
#include "platform/headless_gl.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>

#include <cstring>

namespace platform {
namespace {

EGLDisplay OpenSurfacelessDisplay() {
  auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
      eglGetProcAddress("eglGetPlatformDisplayEXT"));
  const char* clientExtensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
  if (getPlatformDisplay && clientExtensions &&
      std::strstr(clientExtensions, "EGL_MESA_platform_surfaceless")) {
    EGLDisplay display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY,
                                            nullptr);
    if (display != EGL_NO_DISPLAY) return display;
  }
  return eglGetDisplay(EGL_DEFAULT_DISPLAY);
}

void Fail(std::string* error, const char* what) {
  if (error) *error = std::string(what) + " (EGL error 0x" + std::to_string(eglGetError()) + ")";
}

}  // namespace

std::unique_ptr<HeadlessGl> HeadlessGl::Create(int width, int height, std::string* error) {
  EGLDisplay display = OpenSurfacelessDisplay();
  if (display == EGL_NO_DISPLAY) {
    Fail(error, "no EGL display");
    return nullptr;
  }
  if (!eglInitialize(display, nullptr, nullptr)) {
    Fail(error, "eglInitialize failed");
    return nullptr;
  }
  const EGLint configAttribs[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RED_SIZE, 8,
                                  EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8, EGL_ALPHA_SIZE, 8,
                                  EGL_DEPTH_SIZE, 24, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                                  EGL_NONE};
  EGLConfig config = nullptr;
  EGLint count = 0;
  if (!eglChooseConfig(display, configAttribs, &config, 1, &count) || count < 1) {
    Fail(error, "no EGL config with pbuffer and desktop GL");
    return nullptr;
  }
  const EGLint surfaceAttribs[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
  EGLSurface surface = eglCreatePbufferSurface(display, config, surfaceAttribs);
  if (surface == EGL_NO_SURFACE) {
    Fail(error, "eglCreatePbufferSurface failed");
    return nullptr;
  }
  if (!eglBindAPI(EGL_OPENGL_API)) {
    Fail(error, "desktop OpenGL API not available");
    eglDestroySurface(display, surface);
    return nullptr;
  }
  const EGLint contextAttribs[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                   EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
  EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, contextAttribs);
  if (context == EGL_NO_CONTEXT) {
    Fail(error, "eglCreateContext failed");
    eglDestroySurface(display, surface);
    return nullptr;
  }
  if (!eglMakeCurrent(display, surface, surface, context)) {
    Fail(error, "eglMakeCurrent failed");
    eglDestroyContext(display, context);
    eglDestroySurface(display, surface);
    return nullptr;
  }
  std::unique_ptr<HeadlessGl> gl(new HeadlessGl());
  gl->display_ = display;
  gl->surface_ = surface;
  gl->context_ = context;
  gl->width_ = width;
  gl->height_ = height;
  return gl;
}

HeadlessGl::~HeadlessGl() {
  eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  eglDestroyContext(display_, context_);
  eglDestroySurface(display_, surface_);
}

bool HeadlessGl::makeCurrent() {
  return eglMakeCurrent(display_, surface_, surface_, context_) == EGL_TRUE;
}

// A pbuffer has no swap to wait on: without the finish, the driver keeps every frame's
// commands (and the memory they hold) queued.
void HeadlessGl::swap() {
  eglSwapBuffers(display_, surface_);
  glFinish();
}

}  // namespace platform
