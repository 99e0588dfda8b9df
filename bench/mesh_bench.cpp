// Drawing a page's worth of textured picture planes through the state engine:
// time per frame and GL calls reaching the library per frame.
#include <benchmark/benchmark.h>

#include <vector>

#include "CC3Material.h"
#include "CC3Node.h"
#include "CC3NodeVisitor.h"
#include "CC3OpenGLES11Calls.h"
#include "CC3OpenGLES11Engine.h"
#include "CC3PlaneNode.h"
#include "CC3Texture.h"
#include "CC3VertexArrayMeshModel.h"
#include "CCTexture2D.h"
#include "EAGLContext.h"
#include "EAGLView.h"

namespace {

constexpr int kSize = 256;
constexpr int kPlanes = 16;

// The engine's own GL view: a current context drawing into its framebuffer.
struct Surface {
  Ptr<EAGLView> view;
  bool ok = false;

  Surface() {
    view = EAGLView::viewWithFrame(CGRectMake(0, 0, kSize, kSize), kEAGLColorFormatRGBA8,
                                   GL_DEPTH_COMPONENT16_OES);
    ok = bool(view);
    if (!ok) return;
    glViewport(0, 0, kSize, kSize);
    glMatrixMode(GL_PROJECTION);
    glOrthof(0, kSize, 0, kSize, -100, 100);
    glMatrixMode(GL_MODELVIEW);
  }
  ~Surface() {
    CC3OpenGLES11Engine::purgeEngine();
    view = nullptr;
    EAGLContext::setCurrentContext(nullptr);
  }
};

Ptr<CC3Texture> makeTexture() {
  std::vector<unsigned char> pixels(64 * 64 * 4, 200);
  auto image = makeObject<CCTexture2D>();
  image->initWithData(pixels.data(), kCCTexture2DPixelFormat_RGBA8888, 64, 64, CGSizeMake(48, 40));
  auto texture = makeObject<CC3Texture>();
  texture->init();
  texture->setTexture(image);
  return texture;
}

// Sixteen translucent textured pictures, as a page has; with `shareMesh` they
// all draw one mesh, so the mesh is bound once per frame.
void BM_DrawTexturedPlanes(benchmark::State& state) {
  Surface surface;
  if (!surface.ok) {
    state.SkipWithError("no GL framebuffer");
    return;
  }
  bool shareMesh = state.range(0) != 0;
  auto texture = makeTexture();
  std::vector<Ptr<CC3PlaneNode>> planes;
  for (int i = 0; i < kPlanes; ++i) {
    auto plane = CC3PlaneNode::nodeWithName("picture");
    plane->populateAsCenteredRectangleWithSize(CGSizeMake(60, 50), texture, true);
    if (shareMesh && i > 0) plane->setMeshModel(planes[0]->meshModel());
    plane->setIsOpaque(false);
    plane->setLocation({GLfloat(32 + (i % 4) * 60), GLfloat(32 + (i / 4) * 60), GLfloat(i)});
    plane->updateTransformMatrices();
    planes.push_back(plane);
  }
  auto visitor = CC3NodeDrawingVisitor::visitor();
  CC3OpenGLES11Engine* engine = CC3OpenGLES11Engine::engine();
  std::uint64_t calls = 0, frames = 0;
  for (auto _ : state) {
    std::uint64_t start = CC3OpenGLES11Calls::setCount();
    CC3Material::resetSwitching();
    CC3VertexArrayMeshModel::resetSwitching();
    engine->open();
    for (auto& plane : planes) plane->drawWithVisitor(visitor);
    engine->close();
    glFinish();
    calls += CC3OpenGLES11Calls::setCount() - start;
    ++frames;
  }
  state.counters["gl_calls_per_frame"] = double(calls) / double(frames);
}
BENCHMARK(BM_DrawTexturedPlanes)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
