// Whole-program cost of the frame loop: the headless program drawing an empty
// scene for 3,000 frames against a bare loop that only clears and presents the
// same surface. Prints both per-frame times and their ratio, in process CPU
// time (the GL's worker threads included), which other programs' load does not
// skew the way wall time is skewed on a shared machine.
#include <GLES/gl.h>
#include <GLES/glext.h>

#include <chrono>
#include <cstdio>
#include <ctime>

#include "CCDirector.h"
#include "CCScene.h"
#include "EAGLView.h"
#include "Log.h"
#include "NSAutoreleasePool.h"
#include "PlatformHost.h"
#include "UIApplication.h"
#include "UIScreen.h"
#include "UIWindow.h"

namespace {
constexpr long kFrames = 3000;
// Process CPU time, all threads.
struct CpuClock {
  using duration = std::chrono::nanoseconds;
  using time_point = std::chrono::time_point<CpuClock, duration>;
  static time_point now() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return time_point(duration(std::int64_t(t.tv_sec) * 1000000000 + t.tv_nsec));
  }
};

class EmptyBook : public UIApplicationDelegate {
 public:
  void applicationDidFinishLaunching(UIApplication*) override {
    window = makeObject<UIWindow>(UIScreen::mainScreen().bounds());
    CCDirector::setDirectorType(kCCDirectorTypeDisplayLink);
    CCDirector* director = CCDirector::sharedDirector();
    director->setDeviceOrientation(UIDeviceOrientationLandscapeLeft);
    view =
        EAGLView::viewWithFrame(window->bounds(), kEAGLColorFormatRGBA8, GL_DEPTH_COMPONENT16_OES);
    director->setOpenGLView(view.get());
    window->addSubview(view.get());
    window->makeKeyAndVisible();
    director->runWithScene(CCScene::node().get());
    started = CpuClock::now();
  }
  void applicationWillTerminate(UIApplication*) override {
    finished = CpuClock::now();
    CCDirector::sharedDirector()->end();
  }
  Ptr<UIWindow> window;
  Ptr<EAGLView> view;
  CpuClock::time_point started, finished;
};

double secondsPerFrame(CpuClock::time_point a, CpuClock::time_point b) {
  return std::chrono::duration<double>(b - a).count() / double(kFrames);
}
}  // namespace

int main() {
  setLogLevel(LogLevel::Error);
  std::string error;
  PlatformHost& host = PlatformHost::shared();
  if (!host.open({true, kFrames}, error)) {
    std::fprintf(stderr, "cannot open headless GL: %s\n", error.c_str());
    return 1;
  }
  auto book = makeObject<EmptyBook>();
  host.run(book.get());
  const double engine = secondsPerFrame(book->started, book->finished);

  // The bare loop: the same surface, cleared and presented, nothing else.
  EAGLView* view = book->view.get();
  EAGLContext::setCurrentContext(view->context());
  const auto bareStart = CpuClock::now();
  for (long i = 0; i < kFrames; ++i) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    view->swapBuffers();
  }
  glFinish();
  const double bare = secondsPerFrame(bareStart, CpuClock::now());
  std::printf("frames: %ld\nengine loop: %.2f us/frame\nbare loop:   %.2f us/frame\nratio: %.3f\n",
              kFrames, engine * 1e6, bare * 1e6, engine / bare);
  return engine / bare <= 1.2 ? 0 : 3;
}
