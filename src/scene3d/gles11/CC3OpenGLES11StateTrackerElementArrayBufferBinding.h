#pragma once
#include "CC3OpenGLES11StateTrackerArrayBufferBinding.h"

class CC3OpenGLES11StateTrackerElementArrayBufferBinding
    : public CC3OpenGLES11StateTrackerArrayBufferBinding {
 public:
  CC3OpenGLES11StateTrackerElementArrayBufferBinding()
      : CC3OpenGLES11StateTrackerArrayBufferBinding(GL_ELEMENT_ARRAY_BUFFER,
                                                    GL_ELEMENT_ARRAY_BUFFER_BINDING) {}
};
