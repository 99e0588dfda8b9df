#include "lumoPageNavigator.h"

#include <cmath>
#include <string>

#include "EventLog.h"

void lumoPageNavigator::open(int pageCount, int pageOnStage) {
  if (isOpen()) return;
  pageOnStage_ = pageOnStage;
  strip_.emplace(pageCount, pageOnStage);
  touch_.reset();
  EventLog::log("navigator", "opened");
  changed();
}

void lumoPageNavigator::close() {
  if (!isOpen()) return;
  strip_.reset();
  touch_.reset();
  EventLog::log("navigator", "closed");
  changed();
}

void lumoPageNavigator::changed() const {
  if (hooks_.changed) hooks_.changed();
}

void lumoPageNavigator::choose(int page) {
  close();
  // The page on stage is already there: closing is all a tap on it does.
  if (page == pageOnStage_) return;
  EventLog::log("navigator", "jump " + std::to_string(page));
  if (hooks_.jump) hooks_.jump(page);
}

bool lumoPageNavigator::touchBegan(float x, float y) {
  if (!isOpen()) return false;
  touch_ = Touch{x, y, x, false};
  return true;
}

bool lumoPageNavigator::touchMoved(float x, float y) {
  if (!isOpen()) return false;
  if (!touch_) return true;
  if (!touch_->dragging && std::hypot(x - touch_->startX, y - touch_->startY) <= kTapSlop)
    return true;
  touch_->dragging = true;
  strip_->dragBy(x - touch_->lastX);
  touch_->lastX = x;
  changed();
  return true;
}

bool lumoPageNavigator::touchEnded(float x, float y) {
  if (!isOpen()) return false;
  if (!touch_) return true;
  touchMoved(x, y);
  const Touch touch = *touch_;
  touch_.reset();
  if (touch.dragging) return true;
  if (const std::optional<int> page = strip_->pageAt(x, y)) {
    choose(*page);
  } else if (!strip_->band().contains(x, y)) {
    close();
  }
  return true;
}

bool lumoPageNavigator::touchCancelled() {
  if (!isOpen()) return false;
  touch_.reset();
  return true;
}

bool lumoPageNavigator::keyPressed(Key key) {
  if (!isOpen()) return false;
  switch (key) {
    case Key::Left:
    case Key::Right:
      strip_->moveMark(key == Key::Left ? -1 : 1);
      changed();
      break;
    case Key::Enter:
      choose(strip_->markedPage());
      break;
    case Key::Close:
      close();
      break;
  }
  return true;
}

bool lumoPageNavigator::wheel(int notches) {
  if (!isOpen()) return false;
  strip_->wheel(notches);
  changed();
  return true;
}
