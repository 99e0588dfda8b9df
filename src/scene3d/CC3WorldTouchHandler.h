#pragma once
#include <GLES/gl.h>

#include <mutex>
#include <string>

#include "CGGeometry.h"
#include "NSObject.h"

class CC3Node;
class CC3World;

// Queues the world's touch events between frames, has the next draw pass
// pick the node under the touch, and delivers the result at the start of
// the following update pass. The queue is the one structure guarded by a
// lock, so that touches may arrive from another thread.
class CC3WorldTouchHandler : public NSObject {
 public:
  static constexpr unsigned kQueueCapacity = 16;

  static Ptr<CC3WorldTouchHandler> handlerOnWorld(CC3World* world);
  bool initOnWorld(CC3World* world);

  CC3World* world() const { return world_; }
  CC3Node* pickedNode() const { return pickedNode_.get(); }
  CGPoint touchPoint() const;
  bool wasTouched() const {
    std::lock_guard<std::mutex> guard(lock_);
    return wasTouched_;
  }
  bool wasPicked() const { return wasPicked_; }
  unsigned queuedTouchCount() const;
  GLuint queuedTouchAt(unsigned index) const;

  // A run of events of one type keeps one slot and the latest point; a full
  // queue is emptied before the new event goes in.
  void touchEvent(GLuint touchType, CGPoint point);
  // In the draw pass: picks the node under the touch when one is pending.
  void pickTouchedNode();
  // At the start of the update pass: hands the last pick to the world, once
  // for each queued event.
  void dispatchPickedNode();
  // The touch point in framebuffer pixels.
  CGPoint glTouchPoint() const;

  static std::string nameOfTouchType(GLuint touchType);
  std::string description() const override { return className(); }

 private:
  CC3World* world_ = nullptr;  // not retained: the world owns this handler
  // Retained, so that a node removed between the pick and its delivery
  // is still alive when it is delivered.
  Ptr<CC3Node> pickedNode_;
  GLuint touchQueue_[kQueueCapacity] = {};
  unsigned queuedTouchCount_ = 0;
  CGPoint touchPoint_ = CGPointZero;
  bool wasTouched_ = false;
  bool wasPicked_ = false;
  mutable std::mutex lock_;
};
