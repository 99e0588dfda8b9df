#pragma once
#include <GLES/gl.h>

#include <string>

#include "CAEAGLLayer.h"
#include "ES1Renderer.h"
#include "UIView.h"

// Receives the view's touches unchanged (the touch dispatcher).
class EAGLTouchDelegate {
 public:
  virtual ~EAGLTouchDelegate() = default;
  virtual void touchesBegan(const UITouchSet& touches, UIEvent* event) = 0;
  virtual void touchesMoved(const UITouchSet& touches, UIEvent* event) = 0;
  virtual void touchesEnded(const UITouchSet& touches, UIEvent* event) = 0;
  virtual void touchesCancelled(const UITouchSet& touches, UIEvent* event) = 0;
};

// The GL view the director draws into and presents every frame.
class EAGLView : public UIView {
 public:
  static Ptr<EAGLView> viewWithFrame(CGRect frame,
                                     const std::string& pixelFormat = kEAGLColorFormatRGB565,
                                     GLuint depthFormat = 0, bool preserveBackbuffer = false,
                                     EAGLSharegroup* sharegroup = nullptr,
                                     bool multiSampling = false, unsigned numberOfSamples = 0);
  ~EAGLView() override;

  void swapBuffers();
  CGSize surfaceSize() const { return size_; }
  const std::string& pixelFormat() const { return pixelformat_; }
  GLuint depthFormat() const { return depthFormat_; }
  EAGLContext* context() const { return renderer_ ? renderer_->context() : nullptr; }
  ES1Renderer* renderer() const { return renderer_.get(); }
  EAGLTouchDelegate* touchDelegate() const { return touchDelegate_; }
  void setTouchDelegate(EAGLTouchDelegate* delegate) { touchDelegate_ = delegate; }
  bool multiSampling() const { return multiSampling_; }
  void setMultiSampling(bool on) { multiSampling_ = on; }
  bool discardFramebufferSupported() const { return discardFramebufferSupported_; }

  CGPoint convertPointFromViewToSurface(CGPoint point) const;
  CGRect convertRectFromViewToSurface(CGRect rect) const;

  CAEAGLLayer* eaglLayer() override { return layer_.get(); }
  void layoutSubviews() override;
  void setFrame(CGRect frame) override;

  void touchesBegan(const UITouchSet& touches, UIEvent* event) override;
  void touchesMoved(const UITouchSet& touches, UIEvent* event) override;
  void touchesEnded(const UITouchSet& touches, UIEvent* event) override;
  void touchesCancelled(const UITouchSet& touches, UIEvent* event) override;

 private:
  explicit EAGLView(CGRect frame);
  bool setupSurface(const std::string& pixelFormat, GLuint depthFormat, bool preserveBackbuffer,
                    EAGLSharegroup* sharegroup, bool multiSampling, unsigned samples);
  Ptr<CAEAGLLayer> layer_;
  std::string pixelformat_;
  GLuint depthFormat_ = 0;
  bool preserveBackbuffer_ = false;
  bool multiSampling_ = false;
  unsigned requestedSamples_ = 0;
  CGSize size_ = CGSizeZero;
  Ptr<ES1Renderer> renderer_;
  EAGLTouchDelegate* touchDelegate_ = nullptr;  // not retained
  bool discardFramebufferSupported_ = false;
};
