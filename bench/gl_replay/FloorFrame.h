#pragma once
#include <GLES/gl.h>

#include <array>

// The least a frame of the book can cost: one full-screen quad drawn with the
// book's texturing, lighting, blending and depth state, so that every pixel is
// shaded once. Whatever GL state it changes is put back afterwards, so that
// the engine's next frame finds GL as it left it.
class FloorFrame {
 public:
  // `texture`: the picture the quad is drawn with; `source`/`destination`: the
  // book's blend factors for its pictures.
  FloorFrame(GLuint texture, GLenum source, GLenum destination)
      : texture_(texture), source_(source), destination_(destination) {}

  // Clears and draws the quad; the caller waits for GL (glFinish) when timing.
  void draw() const;

 private:
  struct ArrayState {
    GLenum array;
    GLboolean enabled;
    GLint size, type, stride, buffer;
    GLvoid* pointer;
  };
  struct SavedState {
    std::array<GLboolean, 6> capabilities;
    std::array<ArrayState, 4> arrays;
    GLint matrixMode, activeTexture, clientActiveTexture, texture, arrayBuffer, blendSource,
        blendDestination;
  };
  SavedState save() const;
  void restore(const SavedState& saved) const;
  void setUp() const;
  void drawQuad() const;

  GLuint texture_;
  GLenum source_, destination_;
};
