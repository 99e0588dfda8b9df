#include "MultisampleContext.h"

#include <GLES3/gl3.h>

#include "GLDisplay.h"
#include "Log.h"

namespace {
// GL ES 3 entry points, resolved through EGL: the platform links GL ES 1.1 only.
struct Es3Functions {
  PFNGLGETINTEGERVPROC getIntegerv = nullptr;
  PFNGLGETERRORPROC getError = nullptr;
  PFNGLFINISHPROC finish = nullptr;
  PFNGLBINDRENDERBUFFERPROC bindRenderbuffer = nullptr;
  PFNGLRENDERBUFFERSTORAGEMULTISAMPLEPROC renderbufferStorageMultisample = nullptr;
  PFNGLGETRENDERBUFFERPARAMETERIVPROC getRenderbufferParameteriv = nullptr;
  PFNGLGENFRAMEBUFFERSPROC genFramebuffers = nullptr;
  PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers = nullptr;
  PFNGLBINDFRAMEBUFFERPROC bindFramebuffer = nullptr;
  PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer = nullptr;
  PFNGLBLITFRAMEBUFFERPROC blitFramebuffer = nullptr;

  static const Es3Functions& get() {
    static const Es3Functions functions = load();
    return functions;
  }
  bool complete() const {
    return getIntegerv && getError && finish && bindRenderbuffer &&
           renderbufferStorageMultisample && getRenderbufferParameteriv && genFramebuffers &&
           deleteFramebuffers && bindFramebuffer && framebufferRenderbuffer && blitFramebuffer;
  }

 private:
  template <class F>
  static void resolve(F& slot, const char* name) {
    slot = reinterpret_cast<F>(eglGetProcAddress(name));
  }
  static Es3Functions load() {
    Es3Functions f;
    resolve(f.getIntegerv, "glGetIntegerv");
    resolve(f.getError, "glGetError");
    resolve(f.finish, "glFinish");
    resolve(f.bindRenderbuffer, "glBindRenderbuffer");
    resolve(f.renderbufferStorageMultisample, "glRenderbufferStorageMultisample");
    resolve(f.getRenderbufferParameteriv, "glGetRenderbufferParameteriv");
    resolve(f.genFramebuffers, "glGenFramebuffers");
    resolve(f.deleteFramebuffers, "glDeleteFramebuffers");
    resolve(f.bindFramebuffer, "glBindFramebuffer");
    resolve(f.framebufferRenderbuffer, "glFramebufferRenderbuffer");
    resolve(f.blitFramebuffer, "glBlitFramebuffer");
    return f;
  }
};

EGLContext createContext(EGLContext shareWith) {
  if (!GLDisplay::isOpen() || !Es3Functions::get().complete()) return EGL_NO_CONTEXT;
  const EGLint attributes[] = {EGL_CONTEXT_CLIENT_VERSION, 3, EGL_NONE};
  return eglCreateContext(GLDisplay::display(), GLDisplay::config(), shareWith, attributes);
}

int queryMaxSamples() {
  const EGLContext previous = eglGetCurrentContext();
  const EGLContext probe = createContext(EGL_NO_CONTEXT);
  if (probe == EGL_NO_CONTEXT) return 0;
  GLint samples = 0;
  if (GLDisplay::makeCurrent(probe)) {
    const auto& gl = Es3Functions::get();
    gl.getIntegerv(GL_MAX_SAMPLES, &samples);
    if (gl.getError() != GL_NO_ERROR) samples = 0;
  }
  GLDisplay::makeCurrent(previous);
  eglDestroyContext(GLDisplay::display(), probe);
  return samples;
}
}  // namespace

std::map<EGLContext, std::unique_ptr<MultisampleContext>>& MultisampleContext::all() {
  static auto* contexts = new std::map<EGLContext, std::unique_ptr<MultisampleContext>>();
  return *contexts;
}

int MultisampleContext::maxSamples() {
  static const int samples = queryMaxSamples();
  return samples;
}

MultisampleContext* MultisampleContext::forDrawing(EGLContext drawing) {
  auto& contexts = all();
  if (auto it = contexts.find(drawing); it != contexts.end()) return it->second.get();
  if (drawing == EGL_NO_CONTEXT || maxSamples() == 0) return nullptr;
  const EGLContext context = createContext(drawing);
  if (context == EGL_NO_CONTEXT) {
    logWarningOnce("msaa-context", "cannot make a GL context for multisampling");
    return nullptr;
  }
  auto made = std::unique_ptr<MultisampleContext>(new MultisampleContext(drawing, context));
  return (contexts[drawing] = std::move(made)).get();
}

void MultisampleContext::release(EGLContext drawing) {
  all().erase(drawing);
}

MultisampleContext::MultisampleContext(EGLContext drawing, EGLContext context)
    : drawing_(drawing), context_(context) {}

MultisampleContext::~MultisampleContext() {
  // The framebuffers go with the context; the renderbuffers are the drawing side's.
  eglDestroyContext(GLDisplay::display(), context_);
}

bool MultisampleContext::enter() {
  return GLDisplay::makeCurrent(context_);
}

void MultisampleContext::leave() {
  GLDisplay::makeCurrent(drawing_);
}

bool MultisampleContext::allocate(unsigned renderbuffer, int samples, unsigned format, int width,
                                  int height) {
  if (!enter()) return false;
  const auto& gl = Es3Functions::get();
  gl.bindRenderbuffer(GL_RENDERBUFFER, renderbuffer);
  gl.renderbufferStorageMultisample(GL_RENDERBUFFER, samples, format, width, height);
  gl.bindRenderbuffer(GL_RENDERBUFFER, 0);
  const GLenum error = gl.getError();
  leave();
  if (error != GL_NO_ERROR) logWarningOnce("msaa-storage", "the GL refused multisample storage");
  return error == GL_NO_ERROR;
}

bool MultisampleContext::resolve(unsigned from, unsigned to) {
  const auto& gl = Es3Functions::get();
  gl.finish();  // what was drawn into `from` is there before this context reads it
  if (!enter()) return false;
  if (!readFramebuffer_) {
    gl.genFramebuffers(1, &readFramebuffer_);
    gl.genFramebuffers(1, &drawFramebuffer_);
  }
  gl.bindFramebuffer(GL_READ_FRAMEBUFFER, readFramebuffer_);
  gl.bindFramebuffer(GL_DRAW_FRAMEBUFFER, drawFramebuffer_);
  // Attached every time: a resize may have given either a new name.
  gl.framebufferRenderbuffer(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, from);
  gl.framebufferRenderbuffer(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, to);
  GLint width = 0, height = 0;
  gl.bindRenderbuffer(GL_RENDERBUFFER, to);
  gl.getRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_WIDTH, &width);
  gl.getRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_HEIGHT, &height);
  gl.bindRenderbuffer(GL_RENDERBUFFER, 0);
  gl.blitFramebuffer(0, 0, width, height, 0, 0, width, height, GL_COLOR_BUFFER_BIT, GL_NEAREST);
  const GLenum error = gl.getError();
  gl.finish();  // and the resolved picture is there before the drawing context reads it
  leave();
  if (error != GL_NO_ERROR) logWarningOnce("msaa-resolve", "the GL refused to resolve samples");
  return error == GL_NO_ERROR;
}
