#include "CC3WorldTouchHandler.h"

#include <vector>

#include "CC3Node.h"
#include "CC3NodePickingVisitor.h"
#include "CC3ViewportManager.h"
#include "CC3World.h"
#include "DrawRevision.h"

Ptr<CC3WorldTouchHandler> CC3WorldTouchHandler::handlerOnWorld(CC3World* world) {
  auto h = makeObject<CC3WorldTouchHandler>();
  h->initOnWorld(world);
  return h;
}

bool CC3WorldTouchHandler::initOnWorld(CC3World* world) {
  std::lock_guard<std::mutex> guard(lock_);
  world_ = world;
  pickedNode_ = nullptr;
  queuedTouchCount_ = 0;
  touchPoint_ = CGPointZero;
  wasTouched_ = false;
  wasPicked_ = false;
  return true;
}

CGPoint CC3WorldTouchHandler::touchPoint() const {
  std::lock_guard<std::mutex> guard(lock_);
  return touchPoint_;
}

unsigned CC3WorldTouchHandler::queuedTouchCount() const {
  std::lock_guard<std::mutex> guard(lock_);
  return queuedTouchCount_;
}

GLuint CC3WorldTouchHandler::queuedTouchAt(unsigned index) const {
  std::lock_guard<std::mutex> guard(lock_);
  return index < queuedTouchCount_ ? touchQueue_[index] : 0;
}

void CC3WorldTouchHandler::touchEvent(GLuint touchType, CGPoint point) {
  DrawRevision::bump();  // the pick happens while the world is drawn
  std::lock_guard<std::mutex> guard(lock_);
  if (queuedTouchCount_ > 0 && touchQueue_[queuedTouchCount_ - 1] == touchType) {
    touchPoint_ = point;  // a stream of moves costs one pick
    return;
  }
  if (queuedTouchCount_ == kQueueCapacity) queuedTouchCount_ = 0;
  touchQueue_[queuedTouchCount_++] = touchType;
  wasTouched_ = true;
  touchPoint_ = point;
}

void CC3WorldTouchHandler::pickTouchedNode() {
  if (!world_) return;
  {
    std::lock_guard<std::mutex> guard(lock_);
    if (!wasTouched_) return;
    wasTouched_ = false;
  }
  Ptr<CC3NodePickingVisitor> visitor = world_->makePickVisitor();
  world_->drawWithVisitor(visitor.get());
  pickedNode_ = visitor->pickedNode();
  wasPicked_ = true;
}

void CC3WorldTouchHandler::dispatchPickedNode() {
  if (!wasPicked_ || !world_) return;
  wasPicked_ = false;
  std::vector<GLuint> types;
  CGPoint point;
  {
    std::lock_guard<std::mutex> guard(lock_);
    types.assign(touchQueue_, touchQueue_ + queuedTouchCount_);
    queuedTouchCount_ = 0;
    point = touchPoint_;
  }
  // Held across the calls: a handler may remove the picked node from the world.
  Ptr<CC3Node> touched(pickedNode_ ? pickedNode_->touchableNode() : nullptr);
  for (GLuint type : types) world_->nodeSelected(touched.get(), type, point);
}

CGPoint CC3WorldTouchHandler::glTouchPoint() const {
  CC3ViewportManager* vpm = world_ ? world_->viewportManager() : nullptr;
  CGPoint point = touchPoint();
  return vpm ? vpm->glPointFromCC2Point(point) : point;
}

std::string CC3WorldTouchHandler::nameOfTouchType(GLuint touchType) {
  switch (touchType) {
    case 0:
      return "kCCTouchBegan";
    case 1:
      return "kCCTouchMoved";
    case 2:
      return "kCCTouchEnded";
    case 3:
      return "kCCTouchCancelled";
    default:
      return "unknown touch type (" + std::to_string(touchType) + ")";
  }
}
