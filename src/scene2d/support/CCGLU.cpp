#include "CCGLU.h"

#include <cmath>

void ccgluPerspective(GLfloat fovy, GLfloat aspect, GLfloat zNear, GLfloat zFar) {
  const GLfloat ymax = zNear * std::tan(fovy * float(M_PI) / 360.0f);
  const GLfloat ymin = -ymax;
  glFrustumf(ymin * aspect, ymax * aspect, ymin, ymax, zNear, zFar);
}

namespace {
void normalize(GLfloat v[3]) {
  GLfloat length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
  if (length == 0) return;
  for (int i = 0; i < 3; ++i) v[i] /= length;
}
void cross(const GLfloat a[3], const GLfloat b[3], GLfloat out[3]) {
  out[0] = a[1] * b[2] - a[2] * b[1];
  out[1] = a[2] * b[0] - a[0] * b[2];
  out[2] = a[0] * b[1] - a[1] * b[0];
}
}  // namespace

void ccgluLookAt(GLfloat eyeX, GLfloat eyeY, GLfloat eyeZ, GLfloat centerX, GLfloat centerY,
                 GLfloat centerZ, GLfloat upX, GLfloat upY, GLfloat upZ) {
  GLfloat f[3] = {centerX - eyeX, centerY - eyeY, centerZ - eyeZ};
  GLfloat up[3] = {upX, upY, upZ};
  normalize(f);
  GLfloat s[3], u[3];
  cross(f, up, s);
  normalize(s);
  cross(s, f, u);
  const GLfloat m[16] = {s[0], u[0], -f[0], 0, s[1], u[1], -f[1], 0,
                         s[2], u[2], -f[2], 0, 0,    0,    0,     1};
  glMultMatrixf(m);
  glTranslatef(-eyeX, -eyeY, -eyeZ);
}
