// Cost of the 3D engine's hot matrix operations, and of redundant GL state
// requests through the state tracker.
#include <benchmark/benchmark.h>

#include "CC3GLMatrix.h"
#include "CC3OpenGLES11Calls.h"
#include "CC3OpenGLES11Engine.h"
#include "EAGLContext.h"

namespace {

Ptr<CC3GLMatrix> rotation(CC3Vec3 angles) {
  auto m = CC3GLMatrix::identity();
  m->rotateBy(angles);
  return m;
}

Ptr<CC3GLMatrix> rigid() {
  auto m = CC3GLMatrix::identity();
  m->translateBy(cc3v(4, -2, 7));
  m->rotateBy(cc3v(25, -60, 130));
  return m;
}

void BM_MatrixMultiply(benchmark::State& state) {
  // Rotations keep the product bounded however often it is taken.
  auto m = rotation(cc3v(10, 20, 30));
  auto other = rotation(cc3v(1, 2, 3));
  for (auto _ : state) {
    m->multiplyByMatrix(other);
    benchmark::DoNotOptimize(m->glMatrix());
  }
}
BENCHMARK(BM_MatrixMultiply);

void BM_TranslateRotateScale(benchmark::State& state) {
  auto m = rigid();
  bool forth = true;
  for (auto _ : state) {
    if (forth) {
      m->translateBy(cc3v(1, 2, 3), cc3v(10, 20, 30), cc3v(2, 2, 2));
    } else {
      m->translateBy(cc3v(-1, -2, -3), cc3v(-10, -20, -30), cc3v(0.5f, 0.5f, 0.5f));
    }
    forth = !forth;
    benchmark::DoNotOptimize(m->glMatrix());
  }
}
BENCHMARK(BM_TranslateRotateScale);

// Each inversion starts from the same rigid matrix; the copy is measured
// on its own so that it can be taken off.
void BM_CopyOnly(benchmark::State& state) {
  auto source = rigid();
  auto m = CC3GLMatrix::matrix();
  for (auto _ : state) {
    m->populateFromGLMatrix(source->glMatrix());
    benchmark::DoNotOptimize(m->glMatrix());
  }
}
BENCHMARK(BM_CopyOnly);

void BM_InvertGeneralOnRigid(benchmark::State& state) {
  auto source = rigid();
  auto m = CC3GLMatrix::matrix();
  for (auto _ : state) {
    m->populateFromGLMatrix(source->glMatrix());
    benchmark::DoNotOptimize(m->invert());
  }
}
BENCHMARK(BM_InvertGeneralOnRigid);

void BM_InvertAffineOnRigid(benchmark::State& state) {
  auto source = rigid();
  auto m = CC3GLMatrix::matrix();
  for (auto _ : state) {
    m->populateFromGLMatrix(source->glMatrix());
    benchmark::DoNotOptimize(m->invertAffine());
  }
}
BENCHMARK(BM_InvertAffineOnRigid);

void BM_InvertRigid(benchmark::State& state) {
  auto source = rigid();
  auto m = CC3GLMatrix::matrix();
  for (auto _ : state) {
    m->populateFromGLMatrix(source->glMatrix());
    m->invertRigid();
    benchmark::DoNotOptimize(m->glMatrix());
  }
}
BENCHMARK(BM_InvertRigid);

void BM_TransformLocation(benchmark::State& state) {
  auto m = rigid();
  CC3Vec3 v = cc3v(1, 2, 3);
  for (auto _ : state) {
    benchmark::DoNotOptimize(v);
    CC3Vec3 moved = m->transformLocation(v);
    benchmark::DoNotOptimize(moved);
  }
}
BENCHMARK(BM_TransformLocation);

// A frame's worth (10,000) of requests for state that is already set.
void BM_RedundantStateRequests(benchmark::State& state) {
  Ptr<EAGLContext> context = EAGLContext::contextWithAPI(kEAGLRenderingAPIOpenGLES1);
  if (!context || !EAGLContext::setCurrentContext(context.get())) {
    state.SkipWithError("no GL context");
    return;
  }
  CC3OpenGLES11Engine* engine = CC3OpenGLES11Engine::engine();
  engine->open();
  auto* caps = engine->serverCapabilities();
  auto* gl = engine->state();
  std::uint64_t calls = 0, firstFrameCalls = 0;
  bool first = true;
  for (auto _ : state) {
    std::uint64_t start = CC3OpenGLES11Calls::setCount();
    for (int i = 0; i < 2000; ++i) {
      caps->depthTest()->enable();
      caps->cullFace()->enable();
      engine->materials()->blend()->applySource(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
      gl->color()->setValue({1, 1, 1, 1});
      engine->textures()->textureBinding()->setValue(0);
    }
    std::uint64_t frameCalls = CC3OpenGLES11Calls::setCount() - start;
    if (first) firstFrameCalls = frameCalls;
    first = false;
    calls += frameCalls;
  }
  // After the first frame has set the five states, nothing more reaches GL.
  state.counters["gl_calls_first_frame"] = double(firstFrameCalls);
  state.counters["gl_calls_later_frames"] = double(calls - firstFrameCalls);
  engine->close();
  CC3OpenGLES11Engine::purgeEngine();
  EAGLContext::setCurrentContext(nullptr);
}
BENCHMARK(BM_RedundantStateRequests)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
