#include <cmath>

#include "CC3Actions.h"
#include "CC3NodeVisitor.h"
#include "CCActionInstant.h"
#include "CCActionInterval.h"
#include "CCTouchDispatcher.h"
#include "EventLog.h"
#include "KstSound.h"
#include "Random.h"
#include "lumoWorld.h"

namespace {
constexpr float kDragStep = 120;  // points of vertical drag per page turn
constexpr float kTapSlop = 30;    // a touch that ends nearer than this to its start is a tap
// The language buttons are tagged with the language they pick.
constexpr GLuint kTagLanguageRussian = lmStageInfo::kLangRussian;
constexpr GLuint kTagLanguageEnglish = lmStageInfo::kLangEnglish;
constexpr GLuint kTagHome = 2002;
constexpr GLuint kTagReplay = 3000;
constexpr GLuint kTagCredits = 3001;
constexpr GLuint kTagRepeatNarration = 4000;
constexpr std::int16_t kTiltStepsEachWay = 14;
constexpr float kMaxTiltAboutY = 20;

bool isFigure(const CC3Node* node) {
  return node->name() && lumoLayerSuffix(*node->name()) == "t";
}
}  // namespace

// MARK: raw touches

void lumoWorld::touchEvent(GLuint touchType, CGPoint point) {
  CC3World::touchEvent(touchType, point);
  switch (touchType) {
    case kCCTouchBegan:
      beginGesture_ = point;
      lastGesture_ = point;
      dragRefusalLogged_ = false;
      // The pick of this touch must find no figure: only a tap may reach one.
      setGroundChildrenTouchEnabled(false, false);
      break;
    case kCCTouchMoved:
      dragTo(point);
      break;
    case kCCTouchEnded:
      if (std::fabs(point.x - beginGesture_.x) < kTapSlop &&
          std::fabs(point.y - beginGesture_.y) < kTapSlop)
        // A tap on the panel's words is theirs: the figures behind stay out of its pick.
        if (!panelTapped(point)) setGroundChildrenTouchEnabled(true, true);
      break;
    default:
      break;
  }
}

void lumoWorld::dragTo(CGPoint point) {
  const float dy = point.y - lastGesture_.y;
  if (std::fabs(dy) <= kDragStep) return;
  const std::int32_t direction = dy > 0 ? 0 : 1;
  if (stageInfo_->lockDrag()) {
    // Logged once a gesture: a long drag crosses the step on every move after.
    if (!dragRefusalLogged_)
      EventLog::log("turn", std::string("refused ") + (direction == 0 ? "forward" : "back") +
                                " on page " + std::to_string(stageInfo_->curStageIndex()) +
                                ": locked");
    dragRefusalLogged_ = true;
    return;
  }
  if (direction == 0 && stageInfo_->curStageIndex() == 1)
    cancelPreviousPerformRequestsWithTarget(this, SELECTOR(lumoWorld::addHelpAlert));
  reflashStage(direction);
  lastGesture_ = point;
}

void lumoWorld::setGroundChildrenTouchEnabled(bool enabled, bool figuresOnly) {
  CC3Node* ground = getNodeNamed(stageInfo_->curGroundName());
  if (!ground) return;
  for (std::size_t i = 0; i < ground->childCount(); ++i) {
    CC3Node* child = ground->childAt(i);
    if (!figuresOnly || isFigure(child)) child->setIsTouchEnabled(enabled);
  }
}

// MARK: picked touches

void lumoWorld::nodeSelected(CC3Node* node, GLuint touchType, CGPoint point) {
  if (touchType == kCCTouchBegan) {
    nodeBeginGesture_ = point;
    return;
  }
  if (touchType != kCCTouchEnded) return;
  if (std::fabs(point.y - nodeBeginGesture_.y) >= kTapSlop || !node) return;
  const GLuint tag = node->tag();
  const std::int32_t language = stageInfo_->curLangTag();
  if (tag == kTagLanguageEnglish && language != lmStageInfo::kLangEnglish) {
    startLanguageChange(node, lmStageInfo::kLangEnglish);
  } else if (tag == kTagLanguageRussian && language != lmStageInfo::kLangRussian) {
    startLanguageChange(node, lmStageInfo::kLangRussian);
  } else if (tag == kTagReplay) {
    replayFromEnding(node);
  } else if (tag == kTagHome) {
    jumpHome(node);
  } else if (tag == kTagCredits) {
    requestCredits(node);
  } else if (tag == kTagRepeatNarration) {
    repeatNarration(node);
  } else {
    // A language button of the current language lands here too: it only flashes.
    playFigureDialogue(node);
  }
}

void lumoWorld::flashNode(CC3Node* node) {
  auto glow = CC3TintEmissionTo::actionWithDuration(0.1f, {1, 0, 1, 1});
  auto fade = CC3TintEmissionTo::actionWithDuration(0.9f, {0, 0, 0, 1});
  node->runAction(CCSequence::actionOne(glow.get(), fade.get()).get());
}

// MARK: figures' dialogue

void lumoWorld::playFigureDialogue(CC3Node* figure) {
  if (!k_animationYES_) return;
  k_animationYES_ = false;
  const std::string name = figure->name().value_or("");
  stageInfo_->setNormalElementInTouch(name);
  flashNode(figure);
  for (std::size_t i = 0; i < figure->childCount(); ++i) {
    if (figure->childAt(i)->name() == "hint_dialogue") {
      removeWithActions(figure->childAt(i));  // its pulse would keep it running
      break;
    }
  }
  const KstStage::StringList lines = stage_->dialogNamesForLayer(name);
  if (lines.empty()) {
    k_animationYES_ = true;
    return;
  }
  const std::string line = lines[static_cast<unsigned long>(Random::next()) % lines.size()] + "_ru";
  KstSound* sound = KstSound::shared();
  sound->playSoundWithName(line, "mp3");
  // A figure speaking over the narration stopped it, and its words lit, or a tapped word.
  if (sound->playingSoundName() != followedNarration_) stopFollowingWords();
  if (sound->playingSoundName() == line) wordTaps_->stop();
  // Only a recording's end makes figures ready again; one that cannot play never ends.
  if (sound->playingSoundName() != line) k_animationYES_ = true;
  wobble(figure);
}

void lumoWorld::wobble(CC3Node* figure) {
  auto back = CC3RotateBy::actionWithDuration(0.3f, {-15, 0, 0});
  auto forth = CC3RotateBy::actionWithDuration(0.3f, {15, 0, 0});
  auto backLess = CC3RotateBy::actionWithDuration(0.3f, {-10, 0, 0});
  auto forthLess = CC3RotateBy::actionWithDuration(0.3f, {10, 0, 0});
  auto done = CCCallFunc::actionWithTarget(this, SELECTOR(lumoWorld::normalElementDidEndAnimation));
  figure->runAction(
      CCSequence::actions({back.get(), forth.get(), backLess.get(), forthLess.get(), done.get()})
          .get());
}

void lumoWorld::normalElementDidEndAnimation() {
  stageInfo_->setNormalElementInTouch("");
}

// MARK: tilt

void lumoWorld::accelerometer(UIAccelerometer*, const UIAcceleration& acceleration) {
  const double sample[3] = {acceleration.x, acceleration.y, acceleration.z};
  for (int i = 0; i < 3; ++i) myAccelerometer_[i] = 0.05 * sample[i] + 0.95 * myAccelerometer_[i];
  // What is left after the low-pass filter is a change of attitude.
  const double dx = acceleration.x - myAccelerometer_[0];
  if (std::fabs(static_cast<float>(dx)) > 0.05f && stageInfo_->canAccelerometer())
    moveXAxisWithRate(dx > 0 ? -0.2f : 0.2f);
  const double dy = acceleration.y - myAccelerometer_[1];
  if (std::fabs(static_cast<float>(dy)) > 0.04f && stageInfo_->canAccelerometer())
    moveYAxisWithRate(dy > 0 ? -0.4f : 0.4f);
}

void lumoWorld::moveXAxisWithRate(float rate) {
  if (rate == 0) return;
  if (rate < 0 ? increaseUp_ > kTiltStepsEachWay : increaseDown_ > kTiltStepsEachWay) return;
  CC3Node* ground = getNodeNamed(stageInfo_->curGroundName());
  CC3Vec3 rotation = ground ? ground->rotation() : stageInfo_->rotation();
  rotation.x += rate;
  if (ground && stageInfo_->canAccelerometer()) ground->setRotation(rotation);
  stageInfo_->setRotation(rotation);
  if (rate < 0) {
    ++increaseUp_;
    --increaseDown_;
  } else {
    ++increaseDown_;
    --increaseUp_;
  }
}

void lumoWorld::moveYAxisWithRate(float rate) {
  CC3Node* ground = getNodeNamed(stageInfo_->curGroundName());
  CC3Vec3 rotation = ground ? ground->rotation() : stageInfo_->rotation();
  rotation.y += rate;
  if (rotation.y <= -kMaxTiltAboutY || rotation.y >= kMaxTiltAboutY) return;
  if (ground) ground->setRotation(rotation);
  stageInfo_->setRotation(rotation);
}

// MARK: per frame

void lumoWorld::updateBeforeTransform(CC3NodeUpdatingVisitor* visitor) {
  CC3World::updateBeforeTransform(visitor);
  updateCameraFromControls(visitor->deltaTime());
}

// The camera stays where set-up put it; these hooks are kept for a camera
// that follows controls.
void lumoWorld::updateCameraFromControls(ccSeconds) {}
void lumoWorld::switchCameraTarget() {}
