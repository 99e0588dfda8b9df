// The GL entry points the engine uses, wrapped at link time (-Wl,--wrap=glX):
// each passes the call on and, while a frame is recorded, keeps a copy of it.
#include <GLES/gl.h>
#include <GLES/glext.h>

#include <array>
#include <cstring>
#include <map>
#include <string>
#include <thread>

#include "GLRecorder.h"

namespace {
const std::thread::id kMainThread = std::this_thread::get_id();
bool onMain() {
  return std::this_thread::get_id() == kMainThread;
}

template <class... T>
std::string bytesOf(const T&... values) {
  std::string bytes;
  (bytes.append(reinterpret_cast<const char*>(&values), sizeof values), ...);
  return bytes;
}

std::string hex(GLenum value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%04X", value);
  return text;
}

// How many floats a light, material or light-model vector parameter has.
int lightValues(GLenum pname) {
  switch (pname) {
    case GL_AMBIENT:
    case GL_DIFFUSE:
    case GL_SPECULAR:
    case GL_POSITION:
    case GL_EMISSION:
    case GL_AMBIENT_AND_DIFFUSE:
    case GL_LIGHT_MODEL_AMBIENT:
      return 4;
    case GL_SPOT_DIRECTION:
      return 3;
    default:
      return 1;
  }
}

template <int N>
std::array<GLfloat, N> copyOf(const GLfloat* values, int count = N) {
  std::array<GLfloat, N> copy{};
  std::memcpy(copy.data(), values, sizeof(GLfloat) * std::size_t(count));
  return copy;
}

GLenum gActiveTexture = GL_TEXTURE0;
std::map<GLenum, GLuint> gBoundTexture;  // by unit, main thread
thread_local GLuint tBoundTexture = 0;   // what this thread's uploads go to

GLRecorder& rec() {
  return GLRecorder::shared();
}
}  // namespace

// A call with plain arguments that sets state under `KEY`.
#define STATE(name, KEY, params, args, ...)                                     \
  extern "C" void __real_##name params;                                         \
  extern "C" void __wrap_##name params {                                        \
    if (rec().recording())                                                      \
      rec().add(#name, KEY, bytesOf(__VA_ARGS__), [=] { __real_##name args; }); \
    __real_##name args;                                                         \
  }

// A call with plain arguments that is drawn again but sets no keyed state.
#define PLAIN(name, params, args)                                                 \
  extern "C" void __real_##name params;                                           \
  extern "C" void __wrap_##name params {                                          \
    if (rec().recording()) rec().add(#name, {}, {}, [=] { __real_##name args; }); \
    __real_##name args;                                                           \
  }

// A query or a resource call: counted, not drawn again.
#define COUNTED(ret, name, params, args) \
  extern "C" ret __real_##name params;   \
  extern "C" ret __wrap_##name params {  \
    rec().count(#name);                  \
    return __real_##name args;           \
  }

extern "C" {
STATE(glBlendFunc, "blendFunc", (GLenum s, GLenum d), (s, d), s, d)
STATE(glClearColor, "clearColor", (GLfloat r, GLfloat g, GLfloat b, GLfloat a), (r, g, b, a), r, g,
      b, a)
STATE(glClearDepthf, "clearDepth", (GLfloat d), (d), d)
STATE(glClearStencil, "clearStencil", (GLint s), (s), s)
STATE(glColor4f, "color", (GLfloat r, GLfloat g, GLfloat b, GLfloat a), (r, g, b, a), r, g, b, a)
STATE(glColor4ub, "color", (GLubyte r, GLubyte g, GLubyte b, GLubyte a), (r, g, b, a), r, g, b, a)
STATE(glCullFace, "cullFace", (GLenum m), (m), m)
STATE(glDepthFunc, "depthFunc", (GLenum f), (f), f)
STATE(glDepthMask, "depthMask", (GLboolean f), (f), f)
STATE(glFrontFace, "frontFace", (GLenum m), (m), m)
STATE(glHint, "hint " + hex(t), (GLenum t, GLenum m), (t, m), m)
STATE(glLineWidth, "lineWidth", (GLfloat w), (w), w)
STATE(glMatrixMode, "matrixMode", (GLenum m), (m), m)
STATE(glShadeModel, "shadeModel", (GLenum m), (m), m)
STATE(glViewport, "viewport", (GLint x, GLint y, GLsizei w, GLsizei h), (x, y, w, h), x, y, w, h)
STATE(glScissor, "scissor", (GLint x, GLint y, GLsizei w, GLsizei h), (x, y, w, h), x, y, w, h)
STATE(glPixelStorei, "pixelStore " + hex(p), (GLenum p, GLint v), (p, v), v)
STATE(glLightf, "light " + hex(l) + hex(p), (GLenum l, GLenum p, GLfloat v), (l, p, v), v)
STATE(glMaterialf, "material " + hex(f) + hex(p), (GLenum f, GLenum p, GLfloat v), (f, p, v), v)
STATE(glTexParameteri, "texParameter " + std::to_string(gBoundTexture[gActiveTexture]) + hex(p),
      (GLenum t, GLenum p, GLint v), (t, p, v), v)

PLAIN(glClear, (GLbitfield m), (m))
PLAIN(glLoadIdentity, (), ())
PLAIN(glPushMatrix, (), ())
PLAIN(glPopMatrix, (), ())
PLAIN(glTranslatef, (GLfloat x, GLfloat y, GLfloat z), (x, y, z))
PLAIN(glRotatef, (GLfloat a, GLfloat x, GLfloat y, GLfloat z), (a, x, y, z))
PLAIN(glOrthof, (GLfloat l, GLfloat r, GLfloat b, GLfloat t, GLfloat n, GLfloat f),
      (l, r, b, t, n, f))
PLAIN(glFrustumf, (GLfloat l, GLfloat r, GLfloat b, GLfloat t, GLfloat n, GLfloat f),
      (l, r, b, t, n, f))

COUNTED(void, glFinish, (), ())
COUNTED(void, glFlush, (), ())
COUNTED(void, glGenTextures, (GLsizei n, GLuint* t), (n, t))
COUNTED(void, glDeleteTextures, (GLsizei n, const GLuint* t), (n, t))
COUNTED(void, glGenBuffers, (GLsizei n, GLuint* b), (n, b))
COUNTED(void, glDeleteBuffers, (GLsizei n, const GLuint* b), (n, b))
void __real_glTexImage2D(GLenum t, GLint l, GLint i, GLsizei w, GLsizei h, GLint b, GLenum f,
                         GLenum ty, const void* p);
void __wrap_glTexImage2D(GLenum t, GLint l, GLint i, GLsizei w, GLsizei h, GLint b, GLenum f,
                         GLenum ty, const void* p) {
  rec().count("glTexImage2D");
  if (l == 0) rec().textureSize(tBoundTexture, w, h);
  __real_glTexImage2D(t, l, i, w, h, b, f, ty, p);
}
COUNTED(void, glCompressedTexImage2D,
        (GLenum t, GLint l, GLenum i, GLsizei w, GLsizei h, GLint b, GLsizei s, const void* p),
        (t, l, i, w, h, b, s, p))
COUNTED(void, glCopyTexSubImage2D,
        (GLenum t, GLint l, GLint xo, GLint yo, GLint x, GLint y, GLsizei w, GLsizei h),
        (t, l, xo, yo, x, y, w, h))
COUNTED(void, glGetBooleanv, (GLenum p, GLboolean* v), (p, v))
COUNTED(void, glGetFloatv, (GLenum p, GLfloat* v), (p, v))
COUNTED(void, glGetIntegerv, (GLenum p, GLint* v), (p, v))
COUNTED(void, glGetLightfv, (GLenum l, GLenum p, GLfloat* v), (l, p, v))
COUNTED(void, glGetMaterialfv, (GLenum f, GLenum p, GLfloat* v), (f, p, v))
COUNTED(GLenum, glGetError, (), ())
COUNTED(const GLubyte*, glGetString, (GLenum n), (n))
COUNTED(GLboolean, glIsEnabled, (GLenum c), (c))
COUNTED(void, glReadPixels, (GLint x, GLint y, GLsizei w, GLsizei h, GLenum f, GLenum t, void* p),
        (x, y, w, h, f, t, p))

void __real_glEnable(GLenum cap);
void __wrap_glEnable(GLenum cap) {
  if (rec().recording())
    rec().add("glEnable", "cap " + hex(cap), "1", [=] { __real_glEnable(cap); });
  __real_glEnable(cap);
}
void __real_glDisable(GLenum cap);
void __wrap_glDisable(GLenum cap) {
  if (rec().recording())
    rec().add("glDisable", "cap " + hex(cap), "0", [=] { __real_glDisable(cap); });
  __real_glDisable(cap);
}

void __real_glEnableClientState(GLenum a);
void __wrap_glEnableClientState(GLenum a) {
  if (rec().recording()) {
    rec().clientState(a, true);
    rec().add("glEnableClientState", "client " + hex(a), "1",
              [=] { __real_glEnableClientState(a); });
  }
  __real_glEnableClientState(a);
}
void __real_glDisableClientState(GLenum a);
void __wrap_glDisableClientState(GLenum a) {
  if (rec().recording()) {
    rec().clientState(a, false);
    rec().add("glDisableClientState", "client " + hex(a), "0",
              [=] { __real_glDisableClientState(a); });
  }
  __real_glDisableClientState(a);
}

void __real_glActiveTexture(GLenum t);
void __wrap_glActiveTexture(GLenum t) {
  if (onMain()) gActiveTexture = t;
  if (rec().recording())
    rec().add("glActiveTexture", "activeTexture", bytesOf(t), [=] { __real_glActiveTexture(t); });
  __real_glActiveTexture(t);
}
void __real_glClientActiveTexture(GLenum t);
void __wrap_glClientActiveTexture(GLenum t) {
  if (onMain()) rec().clientActiveTexture(t);
  if (rec().recording())
    rec().add("glClientActiveTexture", "clientActiveTexture", bytesOf(t),
              [=] { __real_glClientActiveTexture(t); });
  __real_glClientActiveTexture(t);
}
void __real_glBindTexture(GLenum target, GLuint t);
void __wrap_glBindTexture(GLenum target, GLuint t) {
  if (onMain()) gBoundTexture[gActiveTexture] = t;
  tBoundTexture = t;
  if (rec().recording())
    rec().add("glBindTexture", "texture " + hex(gActiveTexture) + hex(target), bytesOf(t),
              [=] { __real_glBindTexture(target, t); });
  __real_glBindTexture(target, t);
}
void __real_glBindBuffer(GLenum target, GLuint b);
void __wrap_glBindBuffer(GLenum target, GLuint b) {
  rec().bindBuffer(target, b);
  if (rec().recording())
    rec().add("glBindBuffer", "buffer " + hex(target), bytesOf(b),
              [=] { __real_glBindBuffer(target, b); });
  __real_glBindBuffer(target, b);
}
void __real_glBufferData(GLenum target, GLsizeiptr size, const void* data, GLenum usage);
void __wrap_glBufferData(GLenum target, GLsizeiptr size, const void* data, GLenum usage) {
  if (rec().recording()) {
    const auto* from = static_cast<const std::uint8_t*>(data);
    auto copy = std::make_shared<std::vector<std::uint8_t>>();
    if (from) copy->assign(from, from + size);
    rec().add("glBufferData", {}, {}, [=] {
      __real_glBufferData(target, size, copy->empty() ? nullptr : copy->data(), usage);
    });
  }
  __real_glBufferData(target, size, data, usage);
}

void __real_glLoadMatrixf(const GLfloat* m);
void __wrap_glLoadMatrixf(const GLfloat* m) {
  if (rec().recording())
    rec().add("glLoadMatrixf", {}, {}, [c = copyOf<16>(m)] { __real_glLoadMatrixf(c.data()); });
  __real_glLoadMatrixf(m);
}
void __real_glMultMatrixf(const GLfloat* m);
void __wrap_glMultMatrixf(const GLfloat* m) {
  if (rec().recording())
    rec().add("glMultMatrixf", {}, {}, [c = copyOf<16>(m)] { __real_glMultMatrixf(c.data()); });
  __real_glMultMatrixf(m);
}

void __real_glLightfv(GLenum l, GLenum p, const GLfloat* v);
void __wrap_glLightfv(GLenum l, GLenum p, const GLfloat* v) {
  if (rec().recording()) {
    auto c = copyOf<4>(v, lightValues(p));
    rec().add("glLightfv", "light " + hex(l) + hex(p), bytesOf(c),
              [=] { __real_glLightfv(l, p, c.data()); });
  }
  __real_glLightfv(l, p, v);
}
void __real_glMaterialfv(GLenum f, GLenum p, const GLfloat* v);
void __wrap_glMaterialfv(GLenum f, GLenum p, const GLfloat* v) {
  if (rec().recording()) {
    auto c = copyOf<4>(v, lightValues(p));
    rec().add("glMaterialfv", "material " + hex(f) + hex(p), bytesOf(c),
              [=] { __real_glMaterialfv(f, p, c.data()); });
  }
  __real_glMaterialfv(f, p, v);
}
void __real_glLightModelfv(GLenum p, const GLfloat* v);
void __wrap_glLightModelfv(GLenum p, const GLfloat* v) {
  if (rec().recording()) {
    auto c = copyOf<4>(v, lightValues(p));
    rec().add("glLightModelfv", "lightModel " + hex(p), bytesOf(c),
              [=] { __real_glLightModelfv(p, c.data()); });
  }
  __real_glLightModelfv(p, v);
}

void __real_glVertexPointer(GLint size, GLenum type, GLsizei stride, const void* p);
void __wrap_glVertexPointer(GLint size, GLenum type, GLsizei stride, const void* p) {
  rec().addArrayPointer("glVertexPointer", GL_VERTEX_ARRAY, size, type, stride, p,
                        [=](const void* at) { __real_glVertexPointer(size, type, stride, at); });
  __real_glVertexPointer(size, type, stride, p);
}
void __real_glColorPointer(GLint size, GLenum type, GLsizei stride, const void* p);
void __wrap_glColorPointer(GLint size, GLenum type, GLsizei stride, const void* p) {
  rec().addArrayPointer("glColorPointer", GL_COLOR_ARRAY, size, type, stride, p,
                        [=](const void* at) { __real_glColorPointer(size, type, stride, at); });
  __real_glColorPointer(size, type, stride, p);
}
void __real_glTexCoordPointer(GLint size, GLenum type, GLsizei stride, const void* p);
void __wrap_glTexCoordPointer(GLint size, GLenum type, GLsizei stride, const void* p) {
  rec().addArrayPointer("glTexCoordPointer", GL_TEXTURE_COORD_ARRAY, size, type, stride, p,
                        [=](const void* at) { __real_glTexCoordPointer(size, type, stride, at); });
  __real_glTexCoordPointer(size, type, stride, p);
}
void __real_glNormalPointer(GLenum type, GLsizei stride, const void* p);
void __wrap_glNormalPointer(GLenum type, GLsizei stride, const void* p) {
  rec().addArrayPointer("glNormalPointer", GL_NORMAL_ARRAY, 3, type, stride, p,
                        [=](const void* at) { __real_glNormalPointer(type, stride, at); });
  __real_glNormalPointer(type, stride, p);
}
void __real_glPointSizePointerOES(GLenum type, GLsizei stride, const void* p);
void __wrap_glPointSizePointerOES(GLenum type, GLsizei stride, const void* p) {
  rec().addArrayPointer("glPointSizePointerOES", GL_POINT_SIZE_ARRAY_OES, 1, type, stride, p,
                        [=](const void* at) { __real_glPointSizePointerOES(type, stride, at); });
  __real_glPointSizePointerOES(type, stride, p);
}

void __real_glDrawArrays(GLenum mode, GLint first, GLsizei count);
void __wrap_glDrawArrays(GLenum mode, GLint first, GLsizei count) {
  if (rec().recording()) {
    rec().willDraw(first + count);
    rec().add("glDrawArrays", {}, {}, [=] { __real_glDrawArrays(mode, first, count); });
  }
  __real_glDrawArrays(mode, first, count);
}
void __real_glDrawElements(GLenum mode, GLsizei count, GLenum type, const void* indices);
void __wrap_glDrawElements(GLenum mode, GLsizei count, GLenum type, const void* indices) {
  if (rec().recording()) {
    if (rec().elementBufferBound()) {
      // Offsets into a buffer object; its arrays are buffer objects too.
      rec().add("glDrawElements", {}, {},
                [=] { __real_glDrawElements(mode, count, type, indices); });
    } else {
      GLsizei vertices = 0;
      auto copy = rec().copyIndices(count, type, indices, vertices);
      rec().willDraw(vertices);
      rec().add("glDrawElements", {}, {},
                [=] { __real_glDrawElements(mode, count, type, copy->data()); });
    }
  }
  __real_glDrawElements(mode, count, type, indices);
}
}
