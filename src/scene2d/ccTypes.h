#pragma once
#include <GLES/gl.h>

#include <cstdint>

#include "CGGeometry.h"

using ccSeconds = float;

struct ccColor3B {
  GLubyte r = 0, g = 0, b = 0;
  bool operator==(const ccColor3B& o) const { return r == o.r && g == o.g && b == o.b; }
};
struct ccColor4B {
  GLubyte r = 0, g = 0, b = 0, a = 0;
  bool operator==(const ccColor4B& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
};
struct ccColor4F {
  GLfloat r = 0, g = 0, b = 0, a = 0;
  bool operator==(const ccColor4F& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
};
struct ccBlendFunc {
  GLenum src = GL_ONE;
  GLenum dst = GL_ONE_MINUS_SRC_ALPHA;
  bool operator==(const ccBlendFunc& o) const { return src == o.src && dst == o.dst; }
};

inline ccColor3B ccc3(GLubyte r, GLubyte g, GLubyte b) {
  return {r, g, b};
}
inline ccColor4B ccc4(GLubyte r, GLubyte g, GLubyte b, GLubyte a) {
  return {r, g, b, a};
}
inline ccColor4F ccc4FFromccc3B(ccColor3B c) {
  return {c.r / 255.f, c.g / 255.f, c.b / 255.f, 1.f};
}
inline ccColor4F ccc4FFromccc4B(ccColor4B c) {
  return {c.r / 255.f, c.g / 255.f, c.b / 255.f, c.a / 255.f};
}

inline constexpr ccColor3B ccWHITE{255, 255, 255};
inline constexpr ccColor3B ccBLACK{0, 0, 0};
inline constexpr ccColor3B ccRED{255, 0, 0};
inline constexpr ccColor3B ccGREEN{0, 255, 0};
inline constexpr ccColor3B ccBLUE{0, 0, 255};

// Vertex layouts shared by sprites, layers and labels.
struct ccVertex2F {
  GLfloat x = 0, y = 0;
};
struct ccVertex3F {
  GLfloat x = 0, y = 0, z = 0;
};
struct ccTex2F {
  GLfloat u = 0, v = 0;
};
struct ccV3F_C4B_T2F {
  ccVertex3F vertices;
  ccColor4B colors;
  ccTex2F texCoords;
};
struct ccV3F_C4B_T2F_Quad {
  ccV3F_C4B_T2F tl, bl, tr, br;
};

// Points to pixels for the process; 1 unless a double-resolution display is on.
extern float __ccContentScaleFactor;
inline float CC_CONTENT_SCALE_FACTOR() {
  return __ccContentScaleFactor;
}
