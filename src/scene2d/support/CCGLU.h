#pragma once
#include <GLES/gl.h>

// The standard GLU perspective and look-at, multiplied onto the current matrix.
void ccgluPerspective(GLfloat fovy, GLfloat aspect, GLfloat zNear, GLfloat zFar);
void ccgluLookAt(GLfloat eyeX, GLfloat eyeY, GLfloat eyeZ, GLfloat centerX, GLfloat centerY,
                 GLfloat centerZ, GLfloat upX, GLfloat upY, GLfloat upZ);
