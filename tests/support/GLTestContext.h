#pragma once
#include <GLES/gl.h>

#include <array>
#include <vector>

#include "EAGLContext.h"

// A headless GL ES 1.1 context made current for a test, drawing into an
// offscreen framebuffer (RGBA8 colour, 16-bit depth) of the given size.
class GLTestContext {
 public:
  explicit GLTestContext(int width = 64, int height = 64);
  ~GLTestContext();
  GLTestContext(const GLTestContext&) = delete;
  GLTestContext& operator=(const GLTestContext&) = delete;

  bool ok() const { return ok_; }
  int width() const { return width_; }
  int height() const { return height_; }
  EAGLContext* context() const { return context_.get(); }
  GLuint framebuffer() const { return framebuffer_; }
  // RGBA of one pixel, origin bottom-left as GL has it.
  std::array<unsigned char, 4> pixel(int x, int y) const;
  std::vector<unsigned char> readAll() const;

 private:
  Ptr<EAGLContext> context_;
  GLuint framebuffer_ = 0, color_ = 0, depth_ = 0;
  int width_, height_;
  bool ok_ = false;
};
