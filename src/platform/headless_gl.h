// An off-screen OpenGL compatibility context (EGL surfaceless display with a pbuffer), used by
// tests, benchmarks and tools that draw without a window.
#pragma once

#include <memory>
#include <string>

namespace platform {

class HeadlessGl {
 public:
  // Creates and makes current a context whose default framebuffer is width by height RGBA with
  // a 24-bit depth buffer. Returns null (and fills error) when no such context can be made.
  static std::unique_ptr<HeadlessGl> Create(int width, int height, std::string* error = nullptr);
  ~HeadlessGl();
  HeadlessGl(const HeadlessGl&) = delete;
  HeadlessGl& operator=(const HeadlessGl&) = delete;

  int width() const { return width_; }
  int height() const { return height_; }
  // Makes this context current again (after another one was).
  bool makeCurrent();
  // Presents the pbuffer (finishes drawing; there is nothing to show).
  void swap();

 private:
  HeadlessGl() = default;
  void* display_ = nullptr;
  void* surface_ = nullptr;
  void* context_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace platform
