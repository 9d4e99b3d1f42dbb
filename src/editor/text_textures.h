// Texts of the outline font kept as textures: a text shown at the same place and size for two
// frames on end is drawn once more into a texture, and shown from it until it changes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class TextTextures {
 public:
  // Draws a text directly, its left end at (x, y) in window pixels, letters `size` pixels high.
  using Drawer = void (*)(double x, double y, double size, const std::string& text);
  explicit TextTextures(Drawer draw) : draw_(draw) {}

  // To be called with the frame's pixel projection over `viewport` (x, y, width, height) set and
  // before the frame clears its colour buffer: makes the textures of texts due one (drawing them
  // where they are shown, on black, then copying those pixels) and drops those the last frame
  // did not show.
  void beginFrame(const int viewport[4]);
  // Shows a text in the current colour: from its texture, or drawn directly while it has none.
  void show(double x, double y, double size, const std::string& text);
  // Deletes every texture made in the current GL context and forgets the rest.
  void release();
  size_t textureCount() const;

 private:
  struct Entry {
    std::string text;
    double x = 0, y = 0, size = 0;
    uint32_t texture = 0;
    int left = 0, bottom = 0, width = 0, height = 0;  // the viewport's pixels it holds
    int textureWidth = 0, textureHeight = 0;
    int64_t lastFrame = -1;
    int streak = 0;  // frames on end it has been shown
  };
  void make(Entry& entry, const int viewport[4]);

  Drawer draw_;
  std::vector<Entry> entries_;
  int64_t frame_ = 0;
  uint32_t generation_ = 0;
};
