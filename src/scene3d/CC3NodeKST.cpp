// The book's additions to the node: the world-unit size of the picture it shows.
#include "CC3Node.h"

GLfloat CC3Node::getTextureWidth() const {
  return textureWidth_;
}

GLfloat CC3Node::getTextureHeight() const {
  return textureHeight_;
}
