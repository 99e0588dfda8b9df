#pragma once
#include <GLES/gl.h>

#include <cstddef>

#include "UIView.h"
#include "ccTypes.h"

// The 3D engine's additions to platform classes. (The director's frame
// interval and rate are the director's own accessors.)

// A copy that the current autorelease pool owns: valid until the pool drains.
template <class T>
auto copyAutoreleased(const T* object) -> decltype(object->copy().get()) {
  if (!object) return nullptr;
  auto* copy = object->copy().leak();
  if (copy) copy->autorelease();
  return copy;
}

UIColor UIColorWithCCColor4F(ccColor4F color);
ccColor4F UIColorAsCCColor4F(const UIColor& color);
// A colour from the components of a colour space: one is grey (alpha 1), two
// grey and alpha, three RGB (alpha 1), four RGBA; any other count is white.
ccColor4F CCC4FFromColorComponents(const GLfloat* components, std::size_t count);
// Makes the colour the tracked current GL colour.
void UIColorSetGLColor(const UIColor& color);
