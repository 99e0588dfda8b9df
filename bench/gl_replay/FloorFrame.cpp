#include "FloorFrame.h"

namespace {
constexpr std::array<GLenum, 6> kCapabilities = {GL_BLEND,      GL_DEPTH_TEST, GL_LIGHTING,
                                                 GL_TEXTURE_2D, GL_ALPHA_TEST, GL_CULL_FACE};

struct ArrayQueries {
  GLenum array, size, type, stride, buffer, pointer;
};
constexpr std::array<ArrayQueries, 4> kArrays = {{
    {GL_VERTEX_ARRAY, GL_VERTEX_ARRAY_SIZE, GL_VERTEX_ARRAY_TYPE, GL_VERTEX_ARRAY_STRIDE,
     GL_VERTEX_ARRAY_BUFFER_BINDING, GL_VERTEX_ARRAY_POINTER},
    {GL_NORMAL_ARRAY, 0, GL_NORMAL_ARRAY_TYPE, GL_NORMAL_ARRAY_STRIDE,
     GL_NORMAL_ARRAY_BUFFER_BINDING, GL_NORMAL_ARRAY_POINTER},
    {GL_TEXTURE_COORD_ARRAY, GL_TEXTURE_COORD_ARRAY_SIZE, GL_TEXTURE_COORD_ARRAY_TYPE,
     GL_TEXTURE_COORD_ARRAY_STRIDE, GL_TEXTURE_COORD_ARRAY_BUFFER_BINDING,
     GL_TEXTURE_COORD_ARRAY_POINTER},
    {GL_COLOR_ARRAY, GL_COLOR_ARRAY_SIZE, GL_COLOR_ARRAY_TYPE, GL_COLOR_ARRAY_STRIDE,
     GL_COLOR_ARRAY_BUFFER_BINDING, GL_COLOR_ARRAY_POINTER},
}};

GLint integer(GLenum name) {
  GLint value = 0;
  if (name) glGetIntegerv(name, &value);
  return value;
}

// Location, normal towards the viewer, texture coordinate: the whole viewport.
struct QuadVertex {
  GLfloat x, y, z, nx, ny, nz, s, t;
};
constexpr std::array<QuadVertex, 4> kQuad = {{{1, 1, 0, 0, 0, 1, 1, 1},
                                              {-1, 1, 0, 0, 0, 1, 0, 1},
                                              {1, -1, 0, 0, 0, 1, 1, 0},
                                              {-1, -1, 0, 0, 0, 1, 0, 0}}};
}  // namespace

void FloorFrame::draw() const {
  const SavedState saved = save();
  setUp();
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  drawQuad();
  restore(saved);
}

FloorFrame::SavedState FloorFrame::save() const {
  SavedState saved{};
  for (std::size_t i = 0; i < kCapabilities.size(); ++i)
    saved.capabilities[i] = glIsEnabled(kCapabilities[i]);
  saved.matrixMode = integer(GL_MATRIX_MODE);
  saved.activeTexture = integer(GL_ACTIVE_TEXTURE);
  saved.clientActiveTexture = integer(GL_CLIENT_ACTIVE_TEXTURE);
  glActiveTexture(GL_TEXTURE0);
  glClientActiveTexture(GL_TEXTURE0);
  saved.texture = integer(GL_TEXTURE_BINDING_2D);
  saved.arrayBuffer = integer(GL_ARRAY_BUFFER_BINDING);
  saved.blendSource = integer(GL_BLEND_SRC);
  saved.blendDestination = integer(GL_BLEND_DST);
  for (std::size_t i = 0; i < kArrays.size(); ++i) {
    const ArrayQueries& q = kArrays[i];
    ArrayState& a = saved.arrays[i];
    a = {q.array,           glIsEnabled(q.array), integer(q.size), integer(q.type),
         integer(q.stride), integer(q.buffer),    nullptr};
    glGetPointerv(q.pointer, &a.pointer);
  }
  for (GLenum mode : {GL_PROJECTION, GL_MODELVIEW, GL_TEXTURE}) {
    glMatrixMode(mode);
    glPushMatrix();
  }
  return saved;
}

void FloorFrame::setUp() const {
  for (GLenum on : {GL_BLEND, GL_DEPTH_TEST, GL_LIGHTING, GL_TEXTURE_2D}) glEnable(on);
  for (GLenum off : {GL_ALPHA_TEST, GL_CULL_FACE}) glDisable(off);
  glBlendFunc(source_, destination_);
  glBindTexture(GL_TEXTURE_2D, texture_);
  for (GLenum mode : {GL_PROJECTION, GL_TEXTURE, GL_MODELVIEW}) {
    glMatrixMode(mode);
    glLoadIdentity();
  }
}

void FloorFrame::drawQuad() const {
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_NORMAL_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glDisableClientState(GL_COLOR_ARRAY);
  const GLsizei stride = sizeof(QuadVertex);
  glVertexPointer(3, GL_FLOAT, stride, &kQuad[0].x);
  glNormalPointer(GL_FLOAT, stride, &kQuad[0].nx);
  glTexCoordPointer(2, GL_FLOAT, stride, &kQuad[0].s);
  glDrawArrays(GL_TRIANGLE_STRIP, 0, GLsizei(kQuad.size()));
}

void FloorFrame::restore(const SavedState& saved) const {
  for (GLenum mode : {GL_PROJECTION, GL_MODELVIEW, GL_TEXTURE}) {
    glMatrixMode(mode);
    glPopMatrix();
  }
  glMatrixMode(GLenum(saved.matrixMode));
  for (const ArrayState& a : saved.arrays) {
    glBindBuffer(GL_ARRAY_BUFFER, GLuint(a.buffer));
    if (a.array == GL_VERTEX_ARRAY) glVertexPointer(a.size, GLenum(a.type), a.stride, a.pointer);
    if (a.array == GL_NORMAL_ARRAY) glNormalPointer(GLenum(a.type), a.stride, a.pointer);
    if (a.array == GL_TEXTURE_COORD_ARRAY)
      glTexCoordPointer(a.size, GLenum(a.type), a.stride, a.pointer);
    if (a.array == GL_COLOR_ARRAY) glColorPointer(a.size, GLenum(a.type), a.stride, a.pointer);
    (a.enabled ? glEnableClientState : glDisableClientState)(a.array);
  }
  glBindBuffer(GL_ARRAY_BUFFER, GLuint(saved.arrayBuffer));
  glBlendFunc(GLenum(saved.blendSource), GLenum(saved.blendDestination));
  glBindTexture(GL_TEXTURE_2D, GLuint(saved.texture));
  glActiveTexture(GLenum(saved.activeTexture));
  glClientActiveTexture(GLenum(saved.clientActiveTexture));
  for (std::size_t i = 0; i < kCapabilities.size(); ++i)
    (saved.capabilities[i] ? glEnable : glDisable)(kCapabilities[i]);
}
