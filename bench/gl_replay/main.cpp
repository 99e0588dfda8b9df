// The book's frame against the GL floor. The real program runs headless to a
// resting page (by default the one with the most layers), records every GL
// call of one frame, then alternates an engine frame with a bare replay of the
// recorded calls and with a floor frame (one full-screen quad in the book's
// picture state: every pixel shaded once), and prints engine frame / bare
// frame and engine frame / floor, pair by pair. `--page all` measures every
// page in turn, one after the other, in one run. `--msaa N` has the view draw
// with N samples per pixel; the floor is then still drawn into the view's
// single-sampled colour buffer, the same yardstick as without.
//
//   bench_gl_replay [--pairs 200] [--page N|all] [--rest 4] [--msaa N]
#include <GLES/gl.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "AVAudioPlayer.h"
#include "AudioBackend.h"
#include "CCDirector.h"
#include "EAGLContext.h"
#include "EAGLView.h"
#include "FloorFrame.h"
#include "GLExtensions.h"
#include "GLRecorder.h"
#include "KstSound.h"
#include "KstStage.h"
#include "NSAutoreleasePool.h"
#include "NSBundle.h"
#include "NSRunLoop.h"
#include "PlatformHost.h"
#include "ScriptRunner.h"
#include "lumoAppDelegate.h"

namespace {
std::atomic<long> gAllocations{0};

double millis(clockid_t clock) {
  timespec t{};
  clock_gettime(clock, &t);
  return double(t.tv_sec) * 1000.0 + double(t.tv_nsec) / 1e6;
}

struct Reading {
  double cpu = 0, wall = 0;
  static Reading now() { return {millis(CLOCK_PROCESS_CPUTIME_ID), millis(CLOCK_MONOTONIC)}; }
  Reading since(const Reading& start) const { return {cpu - start.cpu, wall - start.wall}; }
};

double median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

ES1Renderer* renderer() {
  return CCDirector::sharedDirector()->openGLView()->renderer();
}

// With multisampling a replay draws into the samples: resolve them to be seen.
void showReplay() {
  renderer()->resolveMultisampling();
  renderer()->bindDrawingFramebuffer();
}

std::vector<unsigned char> readFrame() {
  int w = 0, h = 0;
  return EAGLContext::currentContext()->snapshotPresentedFrame(w, h);
}

struct Options {
  int pairs = 200;
  int page = 0;  // 0: the page with the most layers
  bool allPages = false;
  double rest = 4;
  int samples = 0;
};

bool parse(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (i + 1 >= argc) return false;
    if (arg == "--pairs") {
      options.pairs = std::atoi(argv[++i]);
    } else if (arg == "--page") {
      const std::string page = argv[++i];
      options.allPages = page == "all";
      options.page = options.allPages ? 1 : std::atoi(page.c_str());
    } else if (arg == "--rest") {
      options.rest = std::atof(argv[++i]);
    } else if (arg == "--msaa") {
      options.samples = std::atoi(argv[++i]);
    } else {
      return false;
    }
  }
  return options.pairs > 0 && options.page >= 0 && options.rest >= 0 && options.samples >= 0;
}

int pageWithMostLayers(const KstStage& stage) {
  int best = 1;
  for (int page = 1; page <= stage.totalStageCount(); ++page)
    if (stage.groundsForStage(page).size() > stage.groundsForStage(best).size()) best = page;
  return best;
}

// From `from` (0: the start of the program) to resting on `page`.
std::string scriptTo(int from, int page, double rest) {
  std::string script = from ? "" : "wait 2\n";
  for (int p = std::max(from, 1); p < page; ++p) script += "drag 512 600 512 300 0.3\nwait 2\n";
  return script + "wait " + std::to_string(rest) + "\n";
}

// Medians of one page's pairs.
struct PageFigures {
  double engine = 0, bare = 0, floor = 0, engineOverBare = 0, engineOverFloor = 0,
         bareOverFloor = 0;
};

// Runs in the frame hook, between two frames of the program.
class Measurement {
 public:
  Measurement(const Options& options, int lastPage)
      : options_(options), page_(options.page), lastPage_(lastPage) {}

  // False when the way to the first page cannot be scripted.
  bool start(std::string& error) { return script_.parse(scriptTo(0, page_, options_.rest), error); }

  void onFrame() {
    if (!script_.finished()) {
      script_.onFrame();
      return;
    }
    GLRecorder& recorder = GLRecorder::shared();
    if (step_ == 0) {
      recorder.begin();  // the next frame is the one recorded
    } else if (step_ == 1) {
      recorder.end();
      floor_.emplace(recorder.pictureTexture(), recorder.pictureBlendSource(),
                     recorder.pictureBlendDestination());
      checkPicture();
    } else if (int(engine_.size()) < options_.pairs) {
      timePair();
    } else if (options_.allPages ? !nextPage() : !timeStages()) {
      PlatformHost::shared().quit(0);
    }
    ++step_;
    engineStart_ = Reading::now();
    allocationsAtStart_ = gAllocations.load();
  }

  void print(std::size_t layers) const;
  void printAllPages() const;

 private:
  // Keeps this page's figures and sets out for the next page; false after the last.
  bool nextPage() {
    pages_.push_back({page_, figures(true), figures(false), differing_, pixels_});
    if (page_ >= lastPage_) return false;
    script_ = ScriptRunner();
    std::string error;
    if (!script_.parse(scriptTo(page_, page_ + 1, options_.rest), error)) return false;
    ++page_;
    step_ = -1;
    engine_.clear();
    bare_.clear();
    floorTimes_.clear();
    allocations_.clear();
    return true;
  }

  void checkPicture() {
    enginePicture_ = readFrame();
    GLRecorder::shared().replay();
    showReplay();
    glFinish();
    differing_ = differingPixels();
    pixels_ = enginePicture_.size() / 4;
  }

  void timePair() {
    const Reading engine = Reading::now().since(engineStart_);
    allocations_.push_back(double(gAllocations.load() - allocationsAtStart_));
    Reading start = Reading::now();
    GLRecorder::shared().replay();
    glFinish();
    const Reading bare = Reading::now().since(start);
    start = Reading::now();
    ccglBindFramebuffer(GL_FRAMEBUFFER_OES, renderer()->defaultFramebuffer());
    floor_->draw();
    glFinish();
    const Reading floor = Reading::now().since(start);
    renderer()->bindDrawingFramebuffer();
    engine_.push_back(engine);
    bare_.push_back(bare);
    floorTimes_.push_back(floor);
  }

  // Where the bare frame's time goes: the replay with one stage off against the
  // whole replay, a few pairs a frame; false when every stage is done.
  bool timeStages() {
    if (stage_ >= kStages.size()) return false;
    const GLenum capability = kStages[stage_].capability;
    for (int i = 0; i < 4; ++i) {
      Reading start = Reading::now();
      if (capability)
        GLRecorder::shared().replayWithout(capability);
      else
        GLRecorder::shared().replayWithoutLastClear();
      glFinish();
      const Reading without = Reading::now().since(start);
      if (stageRatios_[stage_].empty()) {
        showReplay();
        stageDiffer_[stage_] = differingPixels();
      }
      start = Reading::now();
      GLRecorder::shared().replay();  // and the state is the engine's again
      glFinish();
      const Reading whole = Reading::now().since(start);
      stageRatios_[stage_].push_back(without.cpu / whole.cpu);
    }
    if (int(stageRatios_[stage_].size()) >= options_.pairs / 2) ++stage_;
    return true;
  }

  std::size_t differingPixels() const {
    const auto now = readFrame();
    std::size_t differ = 0;
    for (std::size_t i = 0; i + 3 < now.size() && i + 3 < enginePicture_.size(); i += 4)
      differ += !std::equal(&now[i], &now[i] + 4, &enginePicture_[i]);
    return differ;
  }

  PageFigures figures(bool cpu) const {
    std::vector<double> engine, bare, floor, overBare, overFloor, bareOverFloor;
    for (std::size_t i = 0; i < engine_.size(); ++i) {
      const double e = cpu ? engine_[i].cpu : engine_[i].wall;
      const double b = cpu ? bare_[i].cpu : bare_[i].wall;
      const double f = cpu ? floorTimes_[i].cpu : floorTimes_[i].wall;
      engine.push_back(e);
      bare.push_back(b);
      floor.push_back(f);
      if (b > 0) overBare.push_back(e / b);
      if (f > 0) overFloor.push_back(e / f);
      if (f > 0) bareOverFloor.push_back(b / f);
    }
    return {median(engine),   median(bare),      median(floor),
            median(overBare), median(overFloor), median(bareOverFloor)};
  }

  struct Stage {
    const char* name;
    GLenum capability;
  };
  // Capability 0: the frame's last clear.
  static constexpr std::array<Stage, 5> kStages = {{{"blending", GL_BLEND},
                                                    {"depth test", GL_DEPTH_TEST},
                                                    {"lighting", GL_LIGHTING},
                                                    {"texturing", GL_TEXTURE_2D},
                                                    {"last clear", 0}}};
  std::size_t stage_ = 0;
  std::array<std::vector<double>, kStages.size()> stageRatios_;
  std::array<std::size_t, kStages.size()> stageDiffer_{};
  std::vector<unsigned char> enginePicture_;

  struct PageResult {
    int page;
    PageFigures cpu, wall;
    std::size_t differing, pixels;
  };
  std::vector<PageResult> pages_;

  const Options& options_;
  ScriptRunner script_;
  int page_, lastPage_;
  int step_ = 0;
  std::optional<FloorFrame> floor_;
  Reading engineStart_;
  long allocationsAtStart_ = 0;
  std::vector<Reading> engine_, bare_, floorTimes_;
  std::vector<double> allocations_;
  std::size_t differing_ = 0, pixels_ = 0;
};

void Measurement::print(std::size_t layers) const {
  const GLRecorder& recorder = GLRecorder::shared();
  std::printf("page %d (%zu layout records), one resting frame recorded:\n", page_, layers);
  const auto redundant = recorder.redundantStateCalls();
  std::printf("  GL calls %zu, replayed %d, state calls that set what was set %zu\n",
              recorder.calls().size(), recorder.replayedCount(), redundant.size());
  for (const auto& call : redundant) std::printf("    %s\n", call.c_str());
  std::string counts;
  for (const auto& [name, count] : recorder.countsByName())
    counts += " " + name + " " + std::to_string(count);
  std::printf("  by function:%s\n", counts.c_str());
  std::printf("  replayed picture: %zu of %zu pixels differ from the engine's\n", differing_,
              pixels_);
  std::printf("  C++ allocations per engine frame (median): %.0f\n", median(allocations_));
  for (const bool cpu : {true, false}) {
    const PageFigures f = figures(cpu);
    std::printf(
        "%-4s engine frame %7.2f ms  bare frame %7.2f ms  floor %6.2f ms  engine/bare %.3f  "
        "engine/floor %.3f  (medians of %zu pairs)\n",
        cpu ? "cpu" : "wall", f.engine, f.bare, f.floor, f.engineOverBare, f.engineOverFloor,
        engine_.size());
  }
  std::printf("the bare frame with one stage off (processor time against the whole replay):\n");
  for (std::size_t i = 0; i < kStages.size(); ++i)
    std::printf("  without %-12s %.3f  (%zu pixels differ)\n", kStages[i].name,
                median(stageRatios_[i]), stageDiffer_[i]);
}

void Measurement::printAllPages() const {
  std::printf(
      "every resting page, medians of %d pairs (frame over the floor: one full-screen quad)\n"
      "page  engine ms  bare ms  floor ms  engine/floor  bare/floor  | wall engine/floor  "
      "replay differs\n",
      options_.pairs);
  std::vector<double> worst;
  for (const PageResult& r : pages_) {
    std::printf("%4d  %9.2f  %7.2f  %8.2f  %12.3f  %10.3f  | %17.3f  %zu of %zu\n", r.page,
                r.cpu.engine, r.cpu.bare, r.cpu.floor, r.cpu.engineOverFloor, r.cpu.bareOverFloor,
                r.wall.engineOverFloor, r.differing, r.pixels);
    worst.push_back(r.cpu.engineOverFloor);
  }
  if (!worst.empty())
    std::printf("largest engine/floor %.3f, median over the pages %.3f\n",
                *std::max_element(worst.begin(), worst.end()), median(worst));
}
}  // namespace

void* operator new(std::size_t size) {
  ++gAllocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}

int main(int argc, char** argv) {
  Options options;
  if (!parse(argc, argv, options)) {
    std::fprintf(stderr,
                 "usage: bench_gl_replay [--pairs N] [--page N|all] [--rest SECONDS] "
                 "[--msaa N]\n");
    return 2;
  }
  if (!NSBundle::mainBundle().hasAnyFolder()) {
    std::fprintf(stderr, "bench_gl_replay: no assets folder found (set LUMO_ASSETS)\n");
    return 2;
  }
  auto stage = KstStage::stage();
  if (!options.page) options.page = pageWithMostLayers(*stage);
  if (options.page > stage->totalStageCount()) {
    std::fprintf(stderr, "bench_gl_replay: the book has %d pages\n", stage->totalStageCount());
    return 2;
  }
  Measurement measurement(options, options.allPages ? stage->totalStageCount() : options.page);
  std::string error;
  if (!measurement.start(error)) {
    std::fprintf(stderr, "bench_gl_replay: %s\n", error.c_str());
    return 1;
  }
  PlatformHost& host = PlatformHost::shared();
  if (!host.open({true, -1}, error)) {
    std::fprintf(stderr, "bench_gl_replay: %s\n", error.c_str());
    return 2;
  }
  AVAudioPlayer::setUseVirtualBackend(true);
  host.setFrameHook([&measurement] { measurement.onFrame(); });
  auto delegate = makeObject<lumoAppDelegate>();
  delegate->setSamples(options.samples);
  const int status = host.run(delegate.get());
  host.setFrameHook(nullptr);
  if (options.allPages)
    measurement.printAllPages();
  else
    measurement.print(stage->groundsForStage(options.page).size() - 1);
  KstSound::shared()->releasePlayers();
  AudioBackend::shared().shutdown();
  NSRunLoop::mainRunLoop().reset();
  NSAutoreleasePool::current().drain();
  return status;
}
