#include "CC3NodePickingVisitor.h"

#include "CC3Node.h"
#include "CC3OpenGLES11Engine.h"
#include "CC3World.h"
#include "CC3WorldTouchHandler.h"
#include "CCDirector.h"
#include "EAGLView.h"

namespace {
// The renderer whose samples are drawn into, or null when drawing is single-sampled.
ES1Renderer* multisampleRenderer() {
  GLint sampleBuffers = 0;
  glGetIntegerv(GL_SAMPLE_BUFFERS, &sampleBuffers);
  if (!sampleBuffers) return nullptr;
  EAGLView* view = CCDirector::sharedDirector()->openGLView();
  return view && view->multiSampling() ? view->renderer() : nullptr;
}
}  // namespace

Ptr<CC3NodePickingVisitor> CC3NodePickingVisitor::visitor() {
  return visitorWithWorld(nullptr);
}

Ptr<CC3NodePickingVisitor> CC3NodePickingVisitor::visitorWithWorld(CC3Node* world) {
  auto v = makeObject<CC3NodePickingVisitor>();
  v->initWithWorld(world);
  return v;
}

void CC3NodePickingVisitor::open() {
  CC3NodeDrawingVisitor::open();
  pickedNode_ = nullptr;
  CC3OpenGLES11Engine* gles = CC3OpenGLES11Engine::engine();
  gles->serverCapabilities()->lighting()->disable();
  originalColor_ = gles->state()->color()->value();
}

void CC3NodePickingVisitor::close() {
  CC3OpenGLES11Engine* gles = CC3OpenGLES11Engine::engine();
  CC3World* w = world3D();
  if (w && w->touchHandler()) {
    // Samples cannot be read back: the picking colours are read resolved.
    ES1Renderer* samples = multisampleRenderer();
    if (samples) samples->resolveMultisampling();
    ccColor4B pixel = gles->state()->readPixelAt(w->touchHandler()->glTouchPoint());
    if (samples) samples->bindDrawingFramebuffer();
    GLuint tag = tagFromColor(pixel);
    // Tag 0 is what an untouched (black) backdrop decodes to; no node owns it.
    pickedNode_ = tag ? w->getNodeTagged(tag) : nullptr;
  }
  gles->state()->clearDepthBuffer();
  gles->state()->color()->setValue(originalColor_);
  CC3NodeDrawingVisitor::close();
}

void CC3NodePickingVisitor::drawLocalContentOf(CC3Node* node) {
  if (!node->isTouchable()) return;
  paintNode(node);
  node->drawLocalContentWithVisitor(this);
}

void CC3NodePickingVisitor::paintNode(CC3Node* node) {
  CC3OpenGLES11Engine::engine()->state()->color()->setFixedValue(colorFromNodeTag(node->tag()));
}

ccColor4B CC3NodePickingVisitor::colorFromNodeTag(GLuint tag) {
  return {GLubyte((tag >> 16) & 0xFF), GLubyte((tag >> 8) & 0xFF), GLubyte(tag & 0xFF), 255};
}

GLuint CC3NodePickingVisitor::tagFromColor(ccColor4B color) {
  return (GLuint(color.r) << 16) | (GLuint(color.g) << 8) | GLuint(color.b);
}
