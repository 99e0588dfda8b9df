#include "CC3Actions.h"
#include "CC3PlaneNode.h"
#include "CC3Texture.h"
#include "CCAction.h"
#include "CCActionInterval.h"
#include "KstSound.h"
#include "NSNotificationCenter.h"
#include "NSObject.h"
#include "UIDevice.h"
#include "lumoWorld.h"

namespace {
constexpr GLuint kHomeTag = 2002;
constexpr GLuint kEndingMenuTag = 1001;
constexpr GLuint kReplayTag = 3000;
constexpr GLuint kCreditsTag = 3001;
constexpr GLuint kNoTag = 0;

bool isTablet() {
  return UIDevice::currentDevice().userInterfaceIdiom() == UIUserInterfaceIdiomPad;
}

Ptr<CCActionInterval> sequenceOf(std::initializer_list<CCFiniteTimeAction*> actions) {
  Ptr<CCFiniteTimeAction> sequence = CCSequence::actions(actions);
  return Ptr<CCActionInterval>(static_cast<CCActionInterval*>(sequence.get()));
}

void runForever(CC3Node* node, std::initializer_list<CCFiniteTimeAction*> actions) {
  node->runAction(CCRepeatForever::actionWithAction(sequenceOf(actions).get()).get());
}
}  // namespace

Ptr<CC3PlaneNode> lumoWorld::makeControl(const ControlSpec& spec) {
  GLuint tag = spec.tag == kNoTag ? nextPageNodeTag() : spec.tag;
  auto plane = CC3PlaneNode::nodeWithTag(tag, spec.name);
  // The products are formed in double, as the controls' sizes were laid out.
  const double width = double(spec.width) * universalScaleWidth_ * spec.factor;
  const double height = double(spec.height) * universalScaleHeight_ * spec.factor;
  const double pivotX = double(spec.pivotWidth) * universalScaleWidth_ * spec.factor * 0.5;
  auto texture = CC3Texture::textureFromFile(spec.image);
  plane->populateAsRectangleWithSize(CGSize{float(width), float(height)}, CGPoint{float(pivotX), 0},
                                     texture.get(), true);
  plane->setIsOpaque(false);
  plane->setIsTouchEnabled(spec.touchable);
  plane->setVisible(spec.visible);
  plane->setLocation(spec.location);
  return plane;
}

void lumoWorld::addHome() {
  if (getNodeNamed("home-btn") && getNodeNamed("home-btn-highlighted")) return;
  removeHome();
  addChild(makeControl({"home-btn",
                        60,
                        60,
                        60,
                        0.3f,
                        "home_iPad_normal.png",
                        kHomeTag,
                        true,
                        true,
                        {-52, 135, 350}})
               .get());
  addChild(makeControl({"home-btn-highlighted",
                        60,
                        60,
                        60,
                        0.3f,
                        "home_iPad_down.png",
                        kHomeTag,
                        true,
                        false,
                        {-52, 135, 350}})
               .get());
}

void lumoWorld::removeHome() {
  removeNodeNamed("home-btn");
  removeNodeNamed("home-btn-highlighted");
}

void lumoWorld::removeNodeNamed(const std::string& name) {
  removeWithActions(getNodeNamed(name));
}

void lumoWorld::addMenuEnding() {
  const CC3Vec3 place = isTablet() ? CC3Vec3{0, 50, 350} : CC3Vec3{0, 60, 350};
  auto menu = makeControl(
      {"menu-end", 399, 279, 399, 0.255f, "menu-end.png", kEndingMenuTag, false, true, place});
  menu->addChild(makeControl({"menu-end1",
                              266,
                              57,
                              266,
                              0.204f,
                              "menu-end-btn.png",
                              kReplayTag,
                              true,
                              true,
                              {0, 22, 10}})
                     .get());
  menu->addChild(makeControl({"menu-end2",
                              266,
                              57,
                              266,
                              0.204f,
                              "menu-end-btn.png",
                              kCreditsTag,
                              true,
                              true,
                              {0, 13, 10}})
                     .get());
  menu->addChild(makeControl({"text_replay_cn",
                              84,
                              19,
                              96,
                              0.21f,
                              "text_replay_ru.png",
                              kNoTag,
                              false,
                              true,
                              {0, 25, 15}})
                     .get());
  menu->addChild(makeControl({"text_moreapps_ru",
                              131,
                              19,
                              96,
                              0.25f,
                              "text_moreapps_ru.png",
                              kNoTag,
                              false,
                              true,
                              {-2, 16.2f, 15}})
                     .get());
  addChild(menu.get());
}

void lumoWorld::addHelpAlert() {
  auto finger = makeControl(
      {"hint_finger", 65, 59, 65, 0.32f, "hint_finger.png", kNoTag, false, true, {47, 83, 350}});
  auto arrow = makeControl({"hint_arrow_up",
                            21,
                            23,
                            21,
                            0.32f,
                            "hint_arrow_up.png",
                            kNoTag,
                            false,
                            true,
                            {43, 105, 350}});
  addChild(finger.get());
  addChild(arrow.get());
  // The finger slides up, fades, returns unseen and fades in: a 4-second loop.
  runForever(finger.get(), {CC3MoveTo::actionWithDuration(1.0f, {47, 97, 350}).get(),
                            CCFadeOut::actionWithDuration(0.5f).get(),
                            CC3MoveTo::actionWithDuration(2.0f, {47, 83, 350}).get(),
                            CCFadeIn::actionWithDuration(0.5f).get()});
  runForever(arrow.get(),
             {CCFadeOut::actionWithDuration(1.0f).get(), CCFadeIn::actionWithDuration(1.0f).get()});
}

void lumoWorld::creditsDidFinish(NSNotification*) {
  CC3Node* menu = getNodeNamed("menu-end");
  if (CC3Node* credits = menu ? menu->getNodeNamed("menu-end2") : nullptr)
    credits->setIsTouchEnabled(true);
  stageInfo_->setLockDrag(false);
}

// MARK: taps on the controls

void lumoWorld::jumpHome(CC3Node* button) {
  // A drag during the jump must not start a second turn over it.
  addReflashStageLimited();
  if (CC3Node* highlighted = getNodeNamed("home-btn-highlighted")) highlighted->setVisible(true);
  button->setVisible(false);
  stageInfo_->setCurStageIndex(1);
  cancelPreviousPerformRequestsWithTarget(this, SELECTOR(lumoWorld::showAside));
  cancelPreviousPerformRequestsWithTarget(this, SELECTOR(lumoWorld::playAsideSound));
  if (CC3Node* highlighted = getNodeNamed("home-btn-highlighted")) highlighted->setVisible(false);
  stopFollowingWords();
  sentences_->stop();
  wordTaps_->stop();
  removeNodeNamed("aside_bg");
  stageDownAnimationWithStageIndex(1);
  KstSound::shared()->cancelSound();
  KstSound::shared()->cancelSpecialSound();
}

void lumoWorld::replayFromEnding(CC3Node* button) {
  addReflashStageLimited();
  flashNode(button);
  removeNodeNamed("menu-end");
  if (CC3Node* ground = getNodeNamed(stageInfo_->curGroundName())) {
    for (const char* title : {"s18layer2-cn", "s18layer3-cn"})
      if (CC3Node* node = ground->getNodeNamed(title)) node->setVisible(false);
  }
  stageInfo_->setCurStageIndex(1);
  stageDownAnimationWithStageIndex(1);
}

void lumoWorld::requestCredits(CC3Node* button) {
  flashNode(button);
  const bool russian = stageInfo_->curLangTag() == lmStageInfo::kLangRussian;
  NSNotificationCenter::defaultCenter().postNotificationName("lmShouldShowCredits", this,
                                                             {{"isEnLan", russian}});
  button->setIsTouchEnabled(false);
  stageInfo_->setLockDrag(true);
}
