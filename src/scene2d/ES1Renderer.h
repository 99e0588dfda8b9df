#pragma once
#include <GLES/gl.h>

#include "EAGLContext.h"
#include "NSObject.h"

class CAEAGLLayer;

// Owns the GL ES 1.1 context and the framebuffer objects drawn into each frame.
class ES1Renderer : public NSObject {
 public:
  static Ptr<ES1Renderer> rendererWithDepthFormat(GLuint depthFormat, GLenum pixelFormat,
                                                  EAGLSharegroup* sharegroup, bool multiSampling,
                                                  unsigned samples);
  ~ES1Renderer() override;

  bool resizeFromLayer(CAEAGLLayer* layer);
  // Presenting, in this order: resolve the samples into the colour renderbuffer
  // (leaving its framebuffer bound), drop what the next frame draws anew, and,
  // after presenting, bind the framebuffer the director draws into.
  void resolveMultisampling();
  void discardBeforePresent();
  void bindDrawingFramebuffer();
  EAGLContext* context() const { return context_.get(); }
  GLint backingWidth() const { return backingWidth_; }
  GLint backingHeight() const { return backingHeight_; }
  GLuint defaultFramebuffer() const { return defaultFramebuffer_; }
  GLuint colorRenderbuffer() const { return colorRenderbuffer_; }
  GLuint depthBuffer() const { return depthBuffer_; }
  GLuint msaaFramebuffer() const { return msaaFramebuffer_; }
  GLuint msaaColorbuffer() const { return msaaColorbuffer_; }
  bool multiSampling() const { return multiSampling_; }
  int samplesToUse() const { return samplesToUse_; }

 private:
  ES1Renderer() = default;
  bool init(GLuint depthFormat, GLenum pixelFormat, EAGLSharegroup* sharegroup, bool multiSampling,
            unsigned samples);
  bool resizeMultisampleColor();
  void resizeDepth();
  Ptr<EAGLContext> context_;
  GLuint defaultFramebuffer_ = 0, colorRenderbuffer_ = 0, depthBuffer_ = 0;
  GLuint msaaFramebuffer_ = 0, msaaColorbuffer_ = 0;
  GLint backingWidth_ = 0, backingHeight_ = 0;
  GLuint depthFormat_ = 0;
  GLenum pixelFormat_ = 0;
  bool multiSampling_ = false;
  int samplesToUse_ = 0;
};

// Prints a pending GL error as "OpenGL error 0x%04X in <operation>".
void CHECK_GL_ERROR_IN(const char* operation);
