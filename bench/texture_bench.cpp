// Page-sized textures: loading a 1024 x 2000 PNG through the texture cache
// against decoding it with libpng alone, the GL upload on its own, and the
// main thread's share of an asynchronous load.
#include <benchmark/benchmark.h>
#include <png.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "CCConfiguration.h"
#include "CCTexture2D.h"
#include "CCTextureCache.h"
#include "EAGLContext.h"
#include "Log.h"
#include "NSRunLoop.h"
#include "PNGWriter.h"

namespace {
constexpr int kWidth = 1024, kHeight = 2000;

// A painted-looking page: soft gradients, some grain, a transparent margin.
const std::string& pagePNG() {
  static std::string path = [] {
    std::string file = "/tmp/lumo-texture-bench-page.png";
    std::vector<unsigned char> rgba(std::size_t(kWidth) * kHeight * 4);
    unsigned seed = 7;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) {
        seed = seed * 1103515245u + 12345u;
        int grain = int(seed >> 28) - 8;
        unsigned char* p = &rgba[(std::size_t(y) * kWidth + x) * 4];
        p[0] = static_cast<unsigned char>(std::clamp(120 + x / 12 + grain, 0, 255));
        p[1] = static_cast<unsigned char>(std::clamp(90 + y / 16 + grain, 0, 255));
        p[2] = static_cast<unsigned char>(std::clamp(60 + int(40 * std::sin(x * 0.01)), 0, 255));
        p[3] = static_cast<unsigned char>(y < 100 ? y * 255 / 100 : 255);
      }
    std::string error;
    if (!writePNG(file, rgba.data(), kWidth, kHeight, error))
      std::fprintf(stderr, "%s\n", error.c_str());
    return file;
  }();
  return path;
}

struct GL {
  Ptr<EAGLContext> context;
  GL() {
    context = EAGLContext::contextWithAPI(kEAGLRenderingAPIOpenGLES1);
    if (context) EAGLContext::setCurrentContext(context.get());
    CCConfiguration::sharedConfiguration();
    setLogLevel(LogLevel::Error);
  }
};
GL& gl() {
  static GL instance;
  return instance;
}

// The baseline: libpng alone decoding into RGBA rows.
void decodeWithLibpng(const std::string& path, std::vector<unsigned char>& out) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) std::abort();
  png_init_io(png, file);
  png_read_info(png, info);
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  png_read_update_info(png, info);
  std::size_t w = png_get_image_width(png, info), h = png_get_image_height(png, info);
  out.resize(w * h * 4);
  std::vector<png_bytep> rows(h);
  for (std::size_t y = 0; y < h; ++y) rows[y] = out.data() + y * w * 4;
  png_read_image(png, rows.data());
  png_destroy_read_struct(&png, &info, nullptr);
  std::fclose(file);
}

void BM_DecodeWithLibpngAlone(benchmark::State& state) {
  const std::string& path = pagePNG();
  std::vector<unsigned char> pixels;
  for (auto _ : state) {
    decodeWithLibpng(path, pixels);
    benchmark::DoNotOptimize(pixels.data());
    pixels = {};
  }
}
BENCHMARK(BM_DecodeWithLibpngAlone)->Unit(benchmark::kMillisecond)->MinTime(3);

void BM_LoadThroughTextureCache(benchmark::State& state) {
  gl();
  const std::string& path = pagePNG();
  CCTextureCache* cache = CCTextureCache::sharedTextureCache();
  for (auto _ : state) {
    auto texture = cache->addImage(path);
    if (!texture) state.SkipWithError("no texture");
    glFinish();  // the upload is complete, not just queued
    state.PauseTiming();
    texture = nullptr;
    cache->removeAllTextures();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_LoadThroughTextureCache)->Unit(benchmark::kMillisecond)->MinTime(3);

void BM_UploadOnly(benchmark::State& state) {
  gl();
  std::vector<unsigned char> pixels(std::size_t(1024) * 2048 * 4, 128);
  for (auto _ : state) {
    auto texture = makeObject<CCTexture2D>();
    texture->initWithData(pixels.data(), kCCTexture2DPixelFormat_RGBA8888, 1024, 2048,
                          CGSizeMake(kWidth, kHeight));
    glFinish();
  }
}
BENCHMARK(BM_UploadOnly)->Unit(benchmark::kMillisecond)->MinTime(3);

class Receiver : public NSObject {
 public:
  void loaded(CCTexture2D* texture) {
    texture_ = texture;
    done_ = true;
  }
  Ptr<CCTexture2D> texture_;
  bool done_ = false;
};

// Main-thread time of one asynchronous load: the request plus the servicing
// of the run loop that delivers it. The wait in between is not counted.
void BM_AsyncMainThreadCost(benchmark::State& state) {
  gl();
  const std::string& path = pagePNG();
  CCTextureCache* cache = CCTextureCache::sharedTextureCache();
  double total = 0, worst = 0;
  for (auto _ : state) {
    auto receiver = makeObject<Receiver>();
    auto start = std::chrono::steady_clock::now();
    cache->addImageAsync(path, receiver.get(), SELECTOR(Receiver::loaded));
    double mainThread =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    while (!receiver->done_) {
      std::this_thread::sleep_for(std::chrono::microseconds(200));
      auto before = std::chrono::steady_clock::now();
      NSRunLoop::mainRunLoop().runDue();
      mainThread +=
          std::chrono::duration<double>(std::chrono::steady_clock::now() - before).count();
    }
    state.SetIterationTime(mainThread);
    total += mainThread;
    worst = std::max(worst, mainThread);
    receiver->texture_ = nullptr;
    cache->removeAllTextures();
  }
  state.counters["worst_ms"] = worst * 1000;
}
BENCHMARK(BM_AsyncMainThreadCost)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
}  // namespace

BENCHMARK_MAIN();
