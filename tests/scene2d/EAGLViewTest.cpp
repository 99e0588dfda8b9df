#include <gtest/gtest.h>

#include <GLES/gl.h>
#include <GLES/glext.h>

#include <algorithm>
#include <vector>

#include "CCConfiguration.h"
#include "EAGLView.h"
#include "GLExtensions.h"
#include "NSAutoreleasePool.h"

namespace {
struct Discard {
  GLint framebuffer;
  std::vector<GLenum> attachments;
  bool operator==(const Discard&) const = default;
};

// Pixels of the presented frame neither black nor white: a white triangle's
// edges, smoothed.
int partlyCovered(EAGLView* view) {
  int w = 0, h = 0;
  const std::vector<unsigned char> frame = view->context()->snapshotPresentedFrame(w, h);
  int count = 0;
  for (std::size_t i = 0; i < frame.size(); i += 4) count += frame[i] != 0 && frame[i] != 255;
  return count;
}

class EAGLViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setGLDiscardObserver([this](GLenum, const std::vector<GLenum>& attachments) {
      GLint bound = 0;
      glGetIntegerv(GL_FRAMEBUFFER_BINDING_OES, &bound);
      discards.push_back({bound, attachments});
    });
  }
  void TearDown() override {
    setGLDiscardObserver(nullptr);
    NSAutoreleasePool::current().drain();
  }

  static Ptr<EAGLView> makeView(GLuint depthFormat, unsigned samples) {
    return EAGLView::viewWithFrame(CGRectMake(0, 0, 64, 64), kEAGLColorFormatRGBA8, depthFormat,
                                   false, nullptr, samples > 0, samples);
  }

  // A frame of a white triangle with slanted sides on black, as the director
  // would draw it: into the framebuffer bound, then presented.
  static void drawAndPresent(EAGLView* view) {
    glViewport(0, 0, 64, 64);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    const GLfloat vertices[] = {-0.9f, -0.8f, 0.9f, -0.3f, 0.1f, 0.9f};
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(2, GL_FLOAT, 0, vertices);
    glColor4f(1, 1, 1, 1);
    glDrawArrays(GL_TRIANGLES, 0, 3);
    glDisableClientState(GL_VERTEX_ARRAY);
    view->swapBuffers();
  }

  static GLint boundFramebuffer() {
    GLint bound = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING_OES, &bound);
    return bound;
  }

  std::vector<Discard> discards;
};
}  // namespace

TEST_F(EAGLViewTest, WithoutMultisamplingOnlyADepthBufferIsDiscarded) {
  auto flat = makeView(0, 0);
  ASSERT_TRUE(flat);
  ASSERT_TRUE(flat->discardFramebufferSupported());
  EXPECT_EQ(flat->renderer()->depthBuffer(), 0u);
  flat->swapBuffers();
  EXPECT_TRUE(discards.empty());

  auto deep = makeView(GL_DEPTH_COMPONENT16_OES, 0);
  ASSERT_TRUE(deep);
  EXPECT_NE(deep->renderer()->depthBuffer(), 0u);
  deep->swapBuffers();
  const GLint target = GLint(deep->renderer()->defaultFramebuffer());
  EXPECT_EQ(discards, (std::vector<Discard>{{target, {GL_DEPTH_ATTACHMENT_OES}}}));
}

TEST_F(EAGLViewTest, SamplesUsedAreTheFewerOfAskedAndTheGLsMost) {
  auto first = makeView(GL_DEPTH_COMPONENT16_OES, 1);
  ASSERT_TRUE(first);
  const GLint most = CCConfiguration::sharedConfiguration()->maxSamplesAllowed();
  for (unsigned asked : {1u, 2u, 4u, 16u}) {
    auto view = makeView(GL_DEPTH_COMPONENT16_OES, asked);
    ASSERT_TRUE(view) << asked;
    const int expected = std::min(most, GLint(asked));
    EXPECT_EQ(view->renderer()->samplesToUse(), expected) << asked;
    EXPECT_EQ(view->multiSampling(), expected > 0) << asked;
  }
}

TEST_F(EAGLViewTest, MultisampledFrameIsResolvedAndItsSamplesDiscarded) {
  auto view = makeView(GL_DEPTH_COMPONENT16_OES, 4);
  ASSERT_TRUE(view);
  ASSERT_TRUE(view->multiSampling()) << "Mesa multisamples through a GL ES 3 context";
  ES1Renderer* renderer = view->renderer();
  const GLint msaa = GLint(renderer->msaaFramebuffer());
  EXPECT_EQ(boundFramebuffer(), msaa) << "the director draws into the samples";
  GLint samples = 0;
  glGetIntegerv(GL_SAMPLES, &samples);
  EXPECT_GE(samples, renderer->samplesToUse());

  drawAndPresent(view.get());
  EXPECT_EQ(discards,
            (std::vector<Discard>{{msaa, {GL_COLOR_ATTACHMENT0_OES, GL_DEPTH_ATTACHMENT_OES}}}));
  EXPECT_EQ(boundFramebuffer(), msaa);
  const int smoothed = partlyCovered(view.get());
  EXPECT_GT(smoothed, 40) << "the presented frame has the resolved, smoothed edges";

  auto aliased = makeView(GL_DEPTH_COMPONENT16_OES, 0);
  ASSERT_TRUE(aliased);
  drawAndPresent(aliased.get());
  EXPECT_EQ(partlyCovered(aliased.get()), 0);
}
