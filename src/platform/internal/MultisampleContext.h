#pragma once
// Platform-internal: multisampling for the GL ES 1.1 drawing contexts.
// Only the platform library has internal/ on its include path.
#include <EGL/egl.h>

#include <map>
#include <memory>

// The GL ES 1.1 contexts have no multisampling of their own, while the GL under
// them has it for GL ES 3. A GL ES 3 context in a drawing context's share group
// gives the shared renderbuffers multisample storage and resolves them; the
// drawing context attaches the same renderbuffers to its framebuffers and draws.
class MultisampleContext {
 public:
  // The most samples a renderbuffer can have; 0 where no GL ES 3 context can be made.
  static int maxSamples();
  // The one serving `drawing` (the current context), made on first use; null
  // when it cannot be made.
  static MultisampleContext* forDrawing(EGLContext drawing);
  static void release(EGLContext drawing);
  ~MultisampleContext();

  // Both are called with the drawing context current and return with it
  // current again; false (with a warning) when the GL refused.
  bool allocate(unsigned renderbuffer, int samples, unsigned format, int width, int height);
  // Resolves renderbuffer `from` (multisampled) into `to`, after what the
  // drawing context drew into `from` is done, and before it reads `to`.
  bool resolve(unsigned from, unsigned to);

 private:
  MultisampleContext(EGLContext drawing, EGLContext context);
  bool enter();
  void leave();
  EGLContext drawing_;
  EGLContext context_;
  unsigned readFramebuffer_ = 0, drawFramebuffer_ = 0;
  static std::map<EGLContext, std::unique_ptr<MultisampleContext>>& all();
};
