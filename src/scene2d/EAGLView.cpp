#include "EAGLView.h"

#include <GLES/glext.h>

#include "CCConfiguration.h"
#include "CCDirector.h"
#include "DrawRevision.h"
#include "GLExtensions.h"
#include "Log.h"

namespace {
GLenum convertPixelFormat(const std::string& format) {
  return format == kEAGLColorFormatRGB565 ? GL_RGB565_OES : GL_RGBA8_OES;
}
}  // namespace

EAGLView::EAGLView(CGRect frame) : UIView(frame), layer_(makeObject<CAEAGLLayer>()) {
  layer_->setBounds({{0, 0}, frame.size});
}

EAGLView::~EAGLView() = default;

Ptr<EAGLView> EAGLView::viewWithFrame(CGRect frame, const std::string& pixelFormat,
                                      GLuint depthFormat, bool preserveBackbuffer,
                                      EAGLSharegroup* sharegroup, bool multiSampling,
                                      unsigned numberOfSamples) {
  auto view = Ptr<EAGLView>::adopt(new EAGLView(frame));
  if (!view->setupSurface(pixelFormat, depthFormat, preserveBackbuffer, sharegroup, multiSampling,
                          numberOfSamples))
    return nullptr;
  return view;
}

bool EAGLView::setupSurface(const std::string& pixelFormat, GLuint depthFormat,
                            bool preserveBackbuffer, EAGLSharegroup* sharegroup, bool multiSampling,
                            unsigned samples) {
  pixelformat_ = pixelFormat;
  depthFormat_ = depthFormat;
  preserveBackbuffer_ = preserveBackbuffer;
  multiSampling_ = multiSampling;
  requestedSamples_ = samples;
  layer_->setOpaque(true);
  layer_->setRetainedBacking(preserveBackbuffer);
  layer_->setColorFormat(pixelFormat);
  renderer_ = ES1Renderer::rendererWithDepthFormat(depthFormat, convertPixelFormat(pixelFormat),
                                                   sharegroup, multiSampling, samples);
  if (!renderer_) return false;
  multiSampling_ = renderer_->multiSampling();
  if (!renderer_->resizeFromLayer(layer_.get())) return false;
  size_ = {float(renderer_->backingWidth()), float(renderer_->backingHeight())};
  discardFramebufferSupported_ =
      CCConfiguration::sharedConfiguration()->supportsDiscardFramebuffer();
  return true;
}

void EAGLView::setFrame(CGRect frame) {
  UIView::setFrame(frame);
  layer_->setBounds({{0, 0}, frame.size});
}

void EAGLView::layoutSubviews() {
  if (!renderer_) return;
  renderer_->resizeFromLayer(layer_.get());
  size_ = {float(renderer_->backingWidth()), float(renderer_->backingHeight())};
  CCDirector* director = CCDirector::sharedDirector();
  director->reshapeProjection(size_);
  director->drawScene();
}

void EAGLView::swapBuffers() {
  EAGLContext* context = renderer_->context();
  renderer_->resolveMultisampling();
  if (discardFramebufferSupported_) renderer_->discardBeforePresent();
  if (!context->presentRenderbuffer(GL_RENDERBUFFER_OES)) {
    CCLOGERROR("failed to present the renderbuffer");
    DrawRevision::bump();  // the window may show nothing of it: draw again
  }
  renderer_->bindDrawingFramebuffer();
  CHECK_GL_ERROR_IN("swapBuffers");
}

CGPoint EAGLView::convertPointFromViewToSurface(CGPoint point) const {
  CGRect b = bounds();
  return {(point.x - b.origin.x) / b.size.width * size_.width,
          (point.y - b.origin.y) / b.size.height * size_.height};
}

CGRect EAGLView::convertRectFromViewToSurface(CGRect rect) const {
  CGRect b = bounds();
  return {{(rect.origin.x - b.origin.x) / b.size.width * size_.width,
           (rect.origin.y - b.origin.y) / b.size.height * size_.height},
          {rect.size.width / b.size.width * size_.width,
           rect.size.height / b.size.height * size_.height}};
}

void EAGLView::touchesBegan(const UITouchSet& touches, UIEvent* event) {
  if (touchDelegate_) touchDelegate_->touchesBegan(touches, event);
}
void EAGLView::touchesMoved(const UITouchSet& touches, UIEvent* event) {
  if (touchDelegate_) touchDelegate_->touchesMoved(touches, event);
}
void EAGLView::touchesEnded(const UITouchSet& touches, UIEvent* event) {
  if (touchDelegate_) touchDelegate_->touchesEnded(touches, event);
}
void EAGLView::touchesCancelled(const UITouchSet& touches, UIEvent* event) {
  if (touchDelegate_) touchDelegate_->touchesCancelled(touches, event);
}
