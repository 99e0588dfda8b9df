#include "CC3PlatformCategories.h"

#include "CC3OpenGLES11Engine.h"

UIColor UIColorWithCCColor4F(ccColor4F color) {
  return {color.r, color.g, color.b, color.a};
}

ccColor4F UIColorAsCCColor4F(const UIColor& color) {
  const GLfloat components[4] = {color.r, color.g, color.b, color.a};
  return CCC4FFromColorComponents(components, 4);
}

ccColor4F CCC4FFromColorComponents(const GLfloat* components, std::size_t count) {
  if (!components) count = 0;
  switch (count) {
    case 1:
      return {components[0], components[0], components[0], 1.0f};
    case 2:
      return {components[0], components[0], components[0], components[1]};
    case 3:
      return {components[0], components[1], components[2], 1.0f};
    case 4:
      return {components[0], components[1], components[2], components[3]};
    default:
      return {1.0f, 1.0f, 1.0f, 1.0f};
  }
}

void UIColorSetGLColor(const UIColor& color) {
  CC3OpenGLES11Engine::engine()->state()->color()->setValue(UIColorAsCCColor4F(color));
}
