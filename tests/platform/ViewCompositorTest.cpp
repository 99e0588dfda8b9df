#include <gtest/gtest.h>

#include <array>

#include "CAEAGLLayer.h"
#include "CGImage.h"
#include "EAGLContext.h"
#include "GLExtensions.h"
#include "NSAutoreleasePool.h"
#include "TestSupport.h"
#include "UIImageView.h"
#include "UIWindow.h"

namespace {
// Stands for the engine's GL view: a view presenting a drawable layer.
class DrawableView : public UIView {
 public:
  explicit DrawableView(CGRect frame) : UIView(frame), layer_(makeObject<CAEAGLLayer>()) {
    layer_->setBounds({{0, 0}, frame.size});
  }
  CAEAGLLayer* eaglLayer() override { return layer_.get(); }

 private:
  Ptr<CAEAGLLayer> layer_;
};

// A 64 x 64 window whose GL view draws a blue frame; views are added over it.
class Compositor : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = makeObject<UIWindow>(CGRectMake(0, 0, 64, 64));
    window_->makeKeyAndVisible();
    gl_ = makeObject<DrawableView>(window_->bounds());
    window_->addSubview(gl_.get());
    context_ = EAGLContext::contextWithAPI(kEAGLRenderingAPIOpenGLES1);
    ASSERT_TRUE(context_ && EAGLContext::setCurrentContext(context_.get()));
    ccglGenFramebuffers(1, &framebuffer_);
    ccglBindFramebuffer(GL_FRAMEBUFFER_OES, framebuffer_);
    ccglGenRenderbuffers(1, &color_);
    ccglBindRenderbuffer(GL_RENDERBUFFER_OES, color_);
    ASSERT_TRUE(context_->renderbufferStorage(GL_RENDERBUFFER_OES, gl_->eaglLayer()));
    ccglFramebufferRenderbuffer(GL_FRAMEBUFFER_OES, GL_COLOR_ATTACHMENT0_OES, GL_RENDERBUFFER_OES,
                                color_);
    glViewport(0, 0, 64, 64);
  }
  void TearDown() override {
    ccglDeleteFramebuffers(1, &framebuffer_);
    ccglDeleteRenderbuffers(1, &color_);
    EAGLContext::setCurrentContext(nullptr);
    window_ = nullptr;
    NSAutoreleasePool::current().drain();
  }
  // Draws the blue frame and presents it.
  void present() {
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    ASSERT_TRUE(context_->presentRenderbuffer(GL_RENDERBUFFER_OES));
  }
  // RGB at a window point (origin top-left).
  std::array<int, 3> at(int x, int y) {
    unsigned char p[4];
    glReadPixels(x, 63 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return {p[0], p[1], p[2]};
  }

  Ptr<UIWindow> window_;
  Ptr<DrawableView> gl_;
  Ptr<EAGLContext> context_;
  GLuint framebuffer_ = 0, color_ = 0;
};
}  // namespace

// Views over the GL view are drawn onto the presented frame with their alpha,
// turned as they are; hidden views and views beneath the GL view are not.
TEST_F(Compositor, DrawsTheViewsOverTheFrame) {
  auto below = makeObject<UIView>(CGRectMake(0, 0, 64, 64));
  below->setBackgroundColor({0, 1, 0, 1});
  window_->addSubview(below.get());
  window_->addSubview(gl_.get());  // moves the GL view over `below`
  auto red = makeObject<UIView>(CGRectMake(0, 0, 32, 32));
  red->setBackgroundColor({1, 0, 0, 1});
  red->setAlpha(0.5f);
  gl_->addSubview(red.get());
  auto hidden = makeObject<UIView>(CGRectMake(32, 0, 32, 32));
  hidden->setBackgroundColor({1, 1, 1, 1});
  hidden->setHidden(true);
  gl_->addSubview(hidden.get());
  // A 2 x 1 picture, left half white, right half transparent, turned upside down.
  const unsigned char pixels[] = {255, 255, 255, 255, 0, 0, 0, 0};
  auto image = UIImage::imageWithCGImage(CGImage::imageWithRGBA(2, 1, pixels, true).get());
  auto picture = makeObject<UIImageView>(CGRectMake(0, 40, 64, 16));
  picture->setImage(image.get());
  picture->setRotation(float(M_PI));
  window_->addSubview(picture.get());
  present();

  EXPECT_EQ(EAGLContext::currentContext(), context_.get());
  const auto half = at(10, 10);
  EXPECT_NEAR(half[0], 128, 2);
  EXPECT_NEAR(half[2], 127, 2);
  EXPECT_EQ(at(48, 10), (std::array<int, 3>{0, 0, 255})) << "hidden or beneath: not drawn";
  EXPECT_EQ(at(4, 48), (std::array<int, 3>{0, 0, 255})) << "turned: the clear half is on the left";
  EXPECT_EQ(at(60, 48), (std::array<int, 3>{255, 255, 255}));
  GLint blend = 1;
  glGetIntegerv(GL_BLEND, &blend);
  EXPECT_EQ(blend, 0) << "the drawing context's state is left alone";

  red->removeFromSuperview();
  picture->setImage(nullptr);
  present();
  EXPECT_EQ(at(10, 10), (std::array<int, 3>{0, 0, 255}));
  EXPECT_EQ(at(60, 48), (std::array<int, 3>{0, 0, 255}));
}

// While an alpha animation runs the view shows in between.
TEST_F(Compositor, DrawsTheAnimatedAlpha) {
  ScopedVirtualClock clock;
  auto white = makeObject<UIView>(CGRectMake(0, 0, 64, 64));
  white->setBackgroundColor({1, 1, 1, 1});
  gl_->addSubview(white.get());
  UIView::beginAnimations("fade", nullptr);
  UIView::setAnimationDuration(1.0);
  white->setAlpha(0);
  UIView::commitAnimations();
  clock->advance(0.25);
  present();
  EXPECT_NEAR(at(32, 32)[0], 191, 2);
  clock->advance(1);
  present();
  EXPECT_EQ(at(32, 32)[0], 0);
}

// Once the last view has gone the compositor lets its GL context go; a view
// that comes later is drawn by a fresh one, pictures included.
TEST_F(Compositor, DrawsAViewThatComesAfterAllWereGone) {
  const unsigned char white[] = {255, 255, 255, 255};
  auto picture = makeObject<UIImageView>(CGRectMake(0, 0, 32, 32));
  picture->setImage(
      UIImage::imageWithCGImage(CGImage::imageWithRGBA(1, 1, white, true).get()).get());
  for (int round = 0; round < 3; ++round) {
    gl_->addSubview(picture.get());
    present();
    EXPECT_EQ(at(16, 16), (std::array<int, 3>{255, 255, 255})) << "round " << round;
    picture->removeFromSuperview();
    present();
    EXPECT_EQ(at(16, 16), (std::array<int, 3>{0, 0, 255})) << "round " << round;
    present();  // nothing to draw, nothing kept
    EXPECT_EQ(EAGLContext::currentContext(), context_.get());
  }
}
