#include "CCDirectorFastThreaded.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

#include "Log.h"
#include "NSRunLoop.h"

CCDirectorFastThreaded::~CCDirectorFastThreaded() {
  cancelled_ = true;
  isRunning_ = false;
  if (thread_.joinable()) thread_.join();
}

void CCDirectorFastThreaded::startAnimation() {
  stampLastUpdate();
  isRunning_ = true;
  if (!thread_.joinable()) thread_ = std::thread([this] { threadLoop(); });
}

// The thread keeps looping after a stop, idle, until the director goes.
void CCDirectorFastThreaded::stopAnimation() {
  isRunning_ = false;
}

void CCDirectorFastThreaded::setAnimationInterval(double) {
  CCLOG("FastDirector doesn't support setAnimationInterval, yet");
}

void CCDirectorFastThreaded::threadLoop() {
  while (!cancelled_) {
    if (isRunning_) {
      auto done = std::make_shared<std::pair<std::mutex, std::condition_variable>>();
      auto finished = std::make_shared<bool>(false);
      NSRunLoop::mainRunLoop().postToMainThread([this, done, finished] {
        if (!cancelled_) drawScene();
        std::lock_guard lock(done->first);
        *finished = true;
        done->second.notify_one();
      });
      std::unique_lock lock(done->first);
      // Wake now and then so a cancel during shutdown is not missed.
      while (!*finished && !cancelled_) done->second.wait_for(lock, std::chrono::milliseconds(50));
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (isPaused_) std::this_thread::sleep_for(std::chrono::microseconds(250000));
  }
}
