#include "PlatformHost.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <malloc.h>

#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <map>
#include <thread>

#include "AudioBackend.h"
#include "CADisplayLink.h"
#include "DesktopWindow.h"
#include "DisplayGeometry.h"
#include "DrawRevision.h"
#include "EAGLContext.h"
#include "FrameLog.h"
#include "GLDisplay.h"
#include "KeyInput.h"
#include "Log.h"
#include "MotionSensor.h"
#include "NSAutoreleasePool.h"
#include "NSRunLoop.h"
#include "PNGWriter.h"
#include "ProgramNames.h"
#include "UIAccelerometer.h"
#include "UIApplication.h"
#include "UIDevice.h"
#include "UITouch.h"
#include "UIWindow.h"

namespace {
constexpr double kFramePeriod = 1.0 / 60.0;
constexpr int kMappedAllocation = 1 << 20;

double monotonicSeconds() {
  using namespace std::chrono;
  return duration<double>(steady_clock::now().time_since_epoch()).count();
}

Uint32 gWakeEvent = 0;

// A headless run asked to stop ends as a closed window does; SDL does the
// same for a window.
volatile std::sig_atomic_t gStopRequested = 0;
void requestStop(int) {
  gStopRequested = 1;
}
}  // namespace

struct PlatformHost::Devices {
  SDL_Window* window = nullptr;
  bool minimized = false;
  bool fullscreen = false;
  std::map<long, Ptr<UITouch>> touches;
  MotionSensor motion;
};

PlatformHost& PlatformHost::shared() {
  static PlatformHost* host = new PlatformHost();  // lives for the process
  return *host;
}

PlatformHost::PlatformHost() : devices_(std::make_unique<Devices>()) {}
PlatformHost::~PlatformHost() = default;

bool PlatformHost::open(const HostOptions& options, std::string& error) {
  if (opened_) return true;
  options_ = options;
  // Pictures pass through buffers of megabytes. glibc would serve them from its
  // heaps once the first is freed (its threshold follows the largest free),
  // where they fragment and hold on to memory; mapped, they go back when freed.
  mallopt(M_MMAP_THRESHOLD, kMappedAllocation);
  if (options.headless) {
    Clock::setCurrent(&virtualClock_);
    if (!GLDisplay::openHeadless(error)) return false;
    std::signal(SIGTERM, requestStop);
    std::signal(SIGINT, requestStop);
    opened_ = true;
    return true;
  }
  const char* display = std::getenv("DISPLAY");
  if (!display || !*display) {
    error = "no display to open a window on (DISPLAY is not set); run with --headless";
    return false;
  }
  SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
  SDL_SetHint(SDL_HINT_TOUCH_MOUSE_EVENTS, "0");
  SDL_SetHint(SDL_HINT_MOUSE_TOUCH_EVENTS, "0");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    error = "no display to open a window on (try --headless): " + std::string(SDL_GetError());
    return false;
  }
  const CGSize picture = DisplayGeometry::landscapePictureSize();
  devices_->window = SDL_CreateWindow(
      ProgramNames::current().title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
      int(picture.width), int(picture.height), SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
  if (!devices_->window) {
    error = "cannot open a window: " + std::string(SDL_GetError());
    return false;
  }
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(devices_->window, &info) || info.subsystem != SDL_SYSWM_X11) {
    error = "the window system is not X11";
    return false;
  }
  if (!GLDisplay::openForX11Window(info.info.x11.display, info.info.x11.window, error))
    return false;
  DesktopWindow::shared().attach(devices_->window);
  if (devices_->motion.open())
    logMessage(LogLevel::Info, "motion sensor: " + devices_->motion.name());
  gWakeEvent = SDL_RegisterEvents(1);
  NSRunLoop::mainRunLoop().setWakeUp([] {
    SDL_Event e{};
    e.type = gWakeEvent;
    SDL_PushEvent(&e);
  });
  opened_ = true;
  return true;
}

void PlatformHost::quit(int status) {
  exitStatus_ = status;
  running_ = false;
}

int PlatformHost::run(UIApplicationDelegate* delegate) {
  UIApplication& app = UIApplication::sharedApplication();
  app.setDelegate(delegate);
  running_ = true;
  lastWall_ = runStarted_ = Clock::current().seconds();
  lastMonotonic_ = monotonicSeconds();
  delegate->applicationDidFinishLaunching(&app);
  NSAutoreleasePool::current().drain();
  while (running_) runFrame(delegate);
  cancelAllTouches();
  delegate->applicationWillTerminate(&app);
  NSAutoreleasePool::current().drain();
  NSRunLoop::mainRunLoop().setWakeUp(nullptr);
  return exitStatus_;
}

void PlatformHost::runFrame(UIApplicationDelegate* delegate) {
  // Scripted input arrives through the hook: its work belongs to the frame.
  const double started = monotonicSeconds();
  FrameLog::shared().beginFrame();
  if (gStopRequested) quit(0);
  if (frameHook_) frameHook_();
  if (!running_) return;
  const bool refreshing = CADisplayLink::anyActive();
  if (options_.headless) {
    virtualClock_.advance(kFramePeriod);
  } else {
    pumpEvents(delegate, !refreshing);
    checkClockChange(delegate);
  }
  NSRunLoop::mainRunLoop().runDue();
  if (refreshing) CADisplayLink::refreshAll(Clock::current().seconds());
  NSAutoreleasePool::current().drain();
  ++frames_;
  if (refreshing) FrameLog::shared().endFrame(frames_, Clock::current().seconds() - runStarted_);
  if (options_.maxFrames >= 0 && frames_ >= options_.maxFrames) quit(exitStatus_);
  // Without vsync (some X servers), keep a window at the display's pace.
  if (!options_.headless && refreshing) {
    double left = kFramePeriod - (monotonicSeconds() - started);
    if (left > 0.002) std::this_thread::sleep_for(std::chrono::duration<double>(left));
  }
}

void PlatformHost::checkClockChange(UIApplicationDelegate* delegate) {
  double wall = Clock::current().seconds(), mono = monotonicSeconds();
  double drift = (wall - lastWall_) - (mono - lastMonotonic_);
  lastWall_ = wall;
  lastMonotonic_ = mono;
  if (std::fabs(drift) > 2.0) clockJumped(delegate, drift);
}

void PlatformHost::clockJumped(UIApplicationDelegate* delegate, double seconds) {
  // Delayed calls and timers keep what was left of their delays, as they
  // would on a clock that cannot be set.
  NSRunLoop::mainRunLoop().clockDidJump(seconds);
  AudioBackend::shared().clockDidJump(seconds);
  if (delegate) delegate->applicationSignificantTimeChange(&UIApplication::sharedApplication());
}

void PlatformHost::jumpClock(double seconds) {
  if (!options_.headless) return;  // a window runs on the real clock
  virtualClock_.advance(seconds);
  clockJumped(UIApplication::sharedApplication().delegate(), seconds);
}

void PlatformHost::soundDeviceChanged(bool present) {
  AudioBackend& audio = AudioBackend::shared();
  if (present)
    audio.deviceReturned();
  else
    audio.deviceLost();
}

void PlatformHost::setFocused(bool focused) {
  UIApplicationDelegate* delegate = UIApplication::sharedApplication().delegate();
  if (!delegate) return;
  if (focused)
    delegate->applicationDidBecomeActive(&UIApplication::sharedApplication());
  else
    delegate->applicationWillResignActive(&UIApplication::sharedApplication());
}

namespace {
// Window points to picture pixels, undoing the letterbox.
bool windowToPicture(SDL_Window* window, float wx, float wy, float& px, float& py) {
  int ww = 0, wh = 0;
  SDL_GetWindowSize(window, &ww, &wh);
  const DisplayGeometry geometry(UIDevice::currentDevice().heldOrientation(), ww, wh);
  const std::optional<CGPoint> picture = geometry.windowToPicture({wx, wy});
  if (!picture) return false;
  px = picture->x;
  py = picture->y;
  return true;
}
}  // namespace

void PlatformHost::pumpEvents(UIApplicationDelegate* delegate, bool mayWait) {
  UIApplication* app = &UIApplication::sharedApplication();
  SDL_Event e;
  bool have = false;
  if (mayWait) {
    double wait = NSRunLoop::mainRunLoop().timeUntilNextEvent();
    int ms = wait < 0 ? -1 : int(std::ceil(wait * 1000));
    have = ms < 0 ? SDL_WaitEvent(&e) : SDL_WaitEventTimeout(&e, ms);
  } else {
    have = SDL_PollEvent(&e);
  }
  for (; have && running_; have = SDL_PollEvent(&e)) {
    float px = 0, py = 0;
    switch (e.type) {
      case SDL_QUIT:
        quit(0);
        break;
      // The book opens one output device, so an output that goes is that one;
      // SDL names no device (0) when one it never opened goes.
      case SDL_AUDIODEVICEREMOVED:
        if (!e.adevice.iscapture && e.adevice.which != 0) soundDeviceChanged(false);
        break;
      case SDL_AUDIODEVICEADDED:
        if (!e.adevice.iscapture) soundDeviceChanged(true);
        break;
      case SDL_APP_LOWMEMORY:
        delegate->applicationDidReceiveMemoryWarning(app);
        break;
      case SDL_WINDOWEVENT:
        // Shown, exposed, resized, restored: the window wants its picture again.
        DrawRevision::bump();
        switch (e.window.event) {
          case SDL_WINDOWEVENT_FOCUS_LOST:
          case SDL_WINDOWEVENT_FOCUS_GAINED:
            setFocused(e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED);
            break;
          case SDL_WINDOWEVENT_MINIMIZED:
            devices_->minimized = true;
            delegate->applicationDidEnterBackground(app);
            break;
          case SDL_WINDOWEVENT_RESTORED:
            if (devices_->minimized) delegate->applicationWillEnterForeground(app);
            devices_->minimized = false;
            break;
          case SDL_WINDOWEVENT_SIZE_CHANGED: {
            int w = 0, h = 0;
            SDL_GetWindowSizeInPixels(devices_->window, &w, &h);
            GLDisplay::setWindowPixelSize(w, h);
            break;
          }
          default:
            break;
        }
        break;
      case SDL_KEYDOWN:
        if (e.key.keysym.sym == SDLK_F11) {
          if (e.key.repeat) break;
          devices_->fullscreen = !devices_->fullscreen;
          SDL_SetWindowFullscreen(devices_->window,
                                  devices_->fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
          DesktopWindow::shared().setFullscreen(devices_->fullscreen);
        } else if (e.key.keysym.sym == SDLK_r && (e.key.keysym.mod & KMOD_CTRL)) {
          auto& device = UIDevice::currentDevice();
          device.setOrientation(device.heldOrientation() == UIDeviceOrientationLandscapeRight
                                    ? UIDeviceOrientationLandscapeLeft
                                    : UIDeviceOrientationLandscapeRight);
        } else if (e.key.keysym.sym == SDLK_q && (e.key.keysym.mod & KMOD_CTRL)) {
          quit(0);
        } else if (auto key = KeyInput::fromWindowKey(e.key.keysym.sym, e.key.keysym.scancode,
                                                      e.key.keysym.mod, e.key.repeat != 0)) {
          KeyInput::shared().press(*key);
        }
        break;
      case SDL_MOUSEWHEEL:
        KeyInput::shared().roll(KeyInput::notchesFromWindowWheel(
            e.wheel.y, e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED));
        break;
      case SDL_MOUSEBUTTONDOWN:
        if (e.button.button == SDL_BUTTON_LEFT &&
            windowToPicture(devices_->window, float(e.button.x), float(e.button.y), px, py))
          touchDown(-1, px, py);
        break;
      case SDL_MOUSEMOTION:
        DesktopWindow::shared().pointerMoved();
        if ((e.motion.state & SDL_BUTTON_LMASK) &&
            windowToPicture(devices_->window, float(e.motion.x), float(e.motion.y), px, py))
          touchMove(-1, px, py);
        break;
      case SDL_MOUSEBUTTONUP:
        if (e.button.button == SDL_BUTTON_LEFT &&
            windowToPicture(devices_->window, float(e.button.x), float(e.button.y), px, py))
          touchUp(-1, px, py);
        break;
      case SDL_FINGERDOWN:
      case SDL_FINGERMOTION:
      case SDL_FINGERUP: {
        int ww = 0, wh = 0;
        SDL_GetWindowSize(devices_->window, &ww, &wh);
        if (!windowToPicture(devices_->window, e.tfinger.x * float(ww), e.tfinger.y * float(wh), px,
                             py))
          break;
        long finger = long(e.tfinger.fingerId);
        if (e.type == SDL_FINGERDOWN) touchDown(finger, px, py);
        if (e.type == SDL_FINGERMOTION) touchMove(finger, px, py);
        if (e.type == SDL_FINGERUP) touchUp(finger, px, py);
        break;
      }
      default:
        devices_->motion.handleEvent(e);
        break;
    }
  }
}

void PlatformHost::touch(long finger, float px, float py, UITouchPhase phase) {
  DrawRevision::bump();
  UIWindow* window = UIWindow::keyWindow();
  auto& touches = devices_->touches;
  const CGPoint screen =
      DisplayGeometry(UIDevice::currentDevice().heldOrientation()).pictureToScreen({px, py});
  const double now = Clock::current().seconds();
  if (phase == UITouchPhaseBegan) {
    if (!window || touches.count(finger)) return;
    UIView* view = window->hitTest(screen);
    if (!view) return;
    auto t = makeObject<UITouch>(view, screen, now);
    touches[finger] = t;
    window->sendTouch(t.get(), UITouchPhaseBegan);
    return;
  }
  auto it = touches.find(finger);
  if (it == touches.end()) return;
  Ptr<UITouch> t = it->second;
  t->moveTo(screen, phase, now);
  if (phase != UITouchPhaseMoved) touches.erase(it);
  if (window) window->sendTouch(t.get(), phase);
}

void PlatformHost::touchDown(long finger, float x, float y) {
  touch(finger, x, y, UITouchPhaseBegan);
}
void PlatformHost::touchMove(long finger, float x, float y) {
  touch(finger, x, y, UITouchPhaseMoved);
}
void PlatformHost::touchUp(long finger, float x, float y) {
  touch(finger, x, y, UITouchPhaseEnded);
}

void PlatformHost::cancelAllTouches() {
  auto touches = std::move(devices_->touches);
  devices_->touches.clear();
  for (auto& [finger, t] : touches) {
    t->moveTo(t->locationInView(nullptr), UITouchPhaseCancelled, Clock::current().seconds());
    if (UIWindow* window = UIWindow::keyWindow()) window->sendTouch(t.get(), UITouchPhaseCancelled);
  }
}

void PlatformHost::accelerate(double x, double y, double z) {
  UIAccelerometer::sharedAccelerometer().deliver({x, y, z, Clock::current().seconds()});
}

bool PlatformHost::saveScreenshot(const std::string& path, std::string& error) {
  EAGLContext* context = EAGLContext::currentContext();
  if (!context) {
    error = "no GL context";
    return false;
  }
  int w = 0, h = 0;
  std::vector<unsigned char> pixels = context->snapshotPresentedFrame(w, h);
  if (pixels.empty()) {
    error = "no frame has been presented yet";
    return false;
  }
  // The window shows every pixel opaque, whatever alpha translucent drawing
  // (a dimmed page, a notice) left in the frame.
  for (std::size_t alpha = 3; alpha < pixels.size(); alpha += 4) pixels[alpha] = 255;
  return writePNG(path, pixels.data(), w, h, error);
}
