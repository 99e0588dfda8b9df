#pragma once
#include "CC3OpenGLES11ClientCapabilities.h"
#include "CC3OpenGLES11Lighting.h"
#include "CC3OpenGLES11Materials.h"
#include "CC3OpenGLES11Matrices.h"
#include "CC3OpenGLES11Platform.h"
#include "CC3OpenGLES11ServerCapabilities.h"
#include "CC3OpenGLES11State.h"
#include "CC3OpenGLES11StateTrackerManager.h"
#include "CC3OpenGLES11Textures.h"
#include "CC3OpenGLES11VertexArrays.h"

// The one place the 3D engine changes GL state. Opened before the 3D pass
// and closed after it, it skips redundant calls and gives the 2D engine its
// state back. Needs a current GL context when first created.
//
// What the 2D engine expects back after `close`, as it was at `open` (the
// director draws every 2D node with these, CCDirectorIOS::drawScene):
// - texturing on and texture unit 0 active;
// - the vertex, colour and texture-coordinate client arrays on, normals and
//   point sizes off, and no vertex or index buffer bound (2D draws from memory);
// - blending on with its function, depth test, culling, lighting and the
//   scissor test as they were (the book's 2D runs with lighting off);
// - the matrix mode, the current colour, the viewport, the depth function
//   and mask, and the clear values.
// Texture bindings and array pointers are not put back: every 2D node binds
// its texture and sets its pointers before it draws. The camera pushes and
// pops the projection and model-view matrices itself.
class CC3OpenGLES11Engine : public CC3OpenGLES11StateTrackerManager {
 public:
  static CC3OpenGLES11Engine* engine();
  // Drops the single instance (tests, context loss); the next `engine` makes a
  // new one. CCSharedServices::purgeAll calls it once an engine was made.
  static void purgeEngine();

  // Texture units are put back first: texturing and texture-coordinate
  // arrays are per unit, so their own restoring must reach the 2D unit.
  void close() override;

  CC3OpenGLES11Platform* platform() const { return platform_.get(); }
  CC3OpenGLES11ServerCapabilities* serverCapabilities() const { return serverCapabilities_.get(); }
  CC3OpenGLES11ClientCapabilities* clientCapabilities() const { return clientCapabilities_.get(); }
  CC3OpenGLES11Materials* materials() const { return materials_.get(); }
  CC3OpenGLES11Textures* textures() const { return textures_.get(); }
  CC3OpenGLES11Lighting* lighting() const { return lighting_.get(); }
  CC3OpenGLES11Matrices* matrices() const { return matrices_.get(); }
  CC3OpenGLES11VertexArrays* vertices() const { return vertices_.get(); }
  CC3OpenGLES11State* state() const { return state_.get(); }
  // A slot for the application's own trackers, opened and closed last.
  CC3OpenGLES11StateTrackerManager* appExtensions() const { return appExtensions_.get(); }

 protected:
  void initializeTrackers() override;

 private:
  Ptr<CC3OpenGLES11Platform> platform_;
  Ptr<CC3OpenGLES11ServerCapabilities> serverCapabilities_;
  Ptr<CC3OpenGLES11ClientCapabilities> clientCapabilities_;
  Ptr<CC3OpenGLES11Materials> materials_;
  Ptr<CC3OpenGLES11Textures> textures_;
  Ptr<CC3OpenGLES11Lighting> lighting_;
  Ptr<CC3OpenGLES11Matrices> matrices_;
  Ptr<CC3OpenGLES11VertexArrays> vertices_;
  Ptr<CC3OpenGLES11State> state_;
  Ptr<CC3OpenGLES11StateTrackerManager> appExtensions_;
};
