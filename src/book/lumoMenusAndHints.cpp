#include "lumoMenusAndHints.h"

#include <utility>
#include <vector>

#include "CC3Actions.h"
#include "CC3Texture.h"
#include "CCActionInterval.h"
#include "KstSound.h"
#include "KstStory.h"
#include "NSNotificationCenter.h"
#include "UIDevice.h"
#include "lumoNodeActions.h"
#include "lumoPagePrefetch.h"
#include "lumoWorld.h"

namespace {
constexpr GLuint kEndingMenuTag = 1001;
constexpr GLuint kNoTag = 0;
const char* const kFingerName = "hint_finger";
const char* const kArrowName = "hint_arrow_up";

// A button of the ending menu and the label standing on it.
struct EndingRow {
  const char* button;
  lumoControl control;
  float buttonY;
  const char* label;
  float labelWidth, labelFactor;
  CC3Vec3 labelPlace;
};
const EndingRow kReplayRow{"menu-end1", lumoControl::kReplay, 22, "text_replay_cn", 84,
                           0.21f,       {0, 25, 15}};
const EndingRow kCreditsRow{"menu-end2", lumoControl::kCredits, 13, "text_moreapps_ru", 131,
                            0.25f,       {-2, 16.2f, 15}};

GLuint tagOf(lumoControl control) {
  return lumoControlTable::tagOf(control);
}

bool isTablet() {
  return UIDevice::currentDevice().userInterfaceIdiom() == UIUserInterfaceIdiomPad;
}
}  // namespace

Ptr<CC3PlaneNode> lumoMenusAndHints::makeControl(const ControlSpec& spec) {
  GLuint tag = spec.tag == kNoTag ? lumoWorld::nextPageNodeTag() : spec.tag;
  auto plane = CC3PlaneNode::nodeWithTag(tag, spec.name);
  // The products are formed in double, as the controls' sizes were laid out.
  const double scaleWidth = world_.universalScaleWidth();
  const double scaleHeight = world_.universalScaleHeight();
  const double width = double(spec.width) * scaleWidth * spec.factor;
  const double height = double(spec.height) * scaleHeight * spec.factor;
  const double pivotX = double(spec.pivotWidth) * scaleWidth * spec.factor * 0.5;
  auto texture = CC3Texture::textureFromFile(spec.image);
  plane->populateAsRectangleWithSize(CGSize{float(width), float(height)}, CGPoint{float(pivotX), 0},
                                     texture.get(), true);
  plane->setIsOpaque(false);
  plane->setIsTouchEnabled(spec.touchable);
  plane->setVisible(spec.visible);
  plane->setLocation(spec.location);
  return plane;
}

void lumoMenusAndHints::removeNodeNamed(const std::string& name) {
  lumoNodeActions::removeWithActions(world_.getNodeNamed(name));
}

// MARK: home button

void lumoMenusAndHints::addHome() {
  if (!world_.getNodeNamed(kPagesName)) {
    // Just right of the home button, as large.
    const CC3Vec3 place{-42, 135, 350};
    world_.addChild(makeControl({kPagesName, 60, 60, 60, 0.3f, "pages_iPad_normal.png",
                                 tagOf(lumoControl::kPages), true, true, place})
                        .get());
  }
  if (world_.getNodeNamed(kHomeName) && world_.getNodeNamed(kHomeHighlightedName)) return;
  removeNodeNamed(kHomeName);
  removeNodeNamed(kHomeHighlightedName);
  const GLuint tag = tagOf(lumoControl::kHome);
  const CC3Vec3 place{-52, 135, 350};
  world_.addChild(
      makeControl({kHomeName, 60, 60, 60, 0.3f, "home_iPad_normal.png", tag, true, true, place})
          .get());
  world_.addChild(makeControl({kHomeHighlightedName, 60, 60, 60, 0.3f, "home_iPad_down.png", tag,
                               true, false, place})
                      .get());
}

void lumoMenusAndHints::removeHome() {
  removeNodeNamed(kHomeName);
  removeNodeNamed(kHomeHighlightedName);
  removeNodeNamed(kPagesName);
}

void lumoMenusAndHints::turnLockChanged(bool locked) {
  CC3Node* pages = world_.getNodeNamed(kPagesName);
  if (pages) pages->setVisible(!locked);
  if (locked) {
    if (CC3Node* highlighted = world_.getNodeNamed(kHomeHighlightedName))
      highlighted->setVisible(false);
    if (CC3Node* home = world_.getNodeNamed(kHomeName)) home->setVisible(false);
  } else if (CC3Node* home = world_.getNodeNamed(kHomeName)) {
    home->setVisible(true);
  }
}

bool lumoMenusAndHints::jumpHome(CC3Node* button) {
  if (!world_.turns().jumpUnlessTurning(1)) return true;
  button->setVisible(false);
  world_.panel().discard();
  world_.stageDownAnimationWithStageIndex(1);
  KstSound::shared()->cancelSound();
  KstSound::shared()->cancelSpecialSound();
  return true;
}

bool lumoMenusAndHints::tapHomeIfShown() {
  CC3Node* home = world_.getNodeNamed(kHomeName);
  if (!home || !home->visible() || !home->isTouchEnabled()) return false;
  return jumpHome(home);
}

// MARK: ending menu

void lumoMenusAndHints::addEndingMenu() {
  const CC3Vec3 place = isTablet() ? CC3Vec3{0, 50, 350} : CC3Vec3{0, 60, 350};
  auto menu = makeControl(
      {kEndingMenuName, 399, 279, 399, 0.255f, "menu-end.png", kEndingMenuTag, false, true, place});
  const KstStoryEnding& ending = kstStoryEnding();
  const std::pair<const EndingRow*, const KstStoryEndingControl*> rows[] = {
      {&kReplayRow, &ending.replay}, {&kCreditsRow, &ending.credits}};
  // The buttons first, then their labels over them.
  for (const auto& [row, control] : rows)
    if (control->offered)
      menu->addChild(makeControl({row->button,
                                  266,
                                  57,
                                  266,
                                  0.204f,
                                  "menu-end-btn.png",
                                  tagOf(row->control),
                                  true,
                                  true,
                                  {0, row->buttonY, 10}})
                         .get());
  std::vector<std::string> images = {"menu-end.png", "menu-end-btn.png"};
  // The labels are pictures of words, the book's, in the reading language.
  const bool english = world_.turns().language() == lmStageInfo::kLangEnglish;
  for (const auto& [row, control] : rows) {
    if (!control->offered) continue;
    images.push_back((english ? control->en : control->ru) + ".png");
    menu->addChild(makeControl({row->label, row->labelWidth, 19, 96, row->labelFactor,
                                images.back(), kNoTag, false, true, row->labelPlace})
                       .get());
  }
  world_.addChild(menu.get());
  for (const std::string& image : images) lumoPagePrefetch::shared().letGoWhenUnused(image);
}

void lumoMenusAndHints::removeEndingMenu() {
  removeNodeNamed(kEndingMenuName);
}

bool lumoMenusAndHints::replay(CC3Node* button) {
  if (!world_.turns().jumpUnlessTurning(1)) return true;
  lumoNodeActions::flash(button);
  removeEndingMenu();
  world_.titles().hideClosingTitles();
  world_.stageDownAnimationWithStageIndex(1);
  return true;
}

bool lumoMenusAndHints::requestCredits(CC3Node* button) {
  lumoNodeActions::flash(button);
  const bool russian = world_.turns().language() == lmStageInfo::kLangRussian;
  NSNotificationCenter::defaultCenter().postNotificationName(
      lumoBookNames::kShowCreditsNotification, &world_,
      {{lumoBookNames::kCreditsLanguageKey, russian}});
  button->setIsTouchEnabled(false);
  world_.turns().creditsOpened();
  return true;
}

void lumoMenusAndHints::creditsClosed() {
  CC3Node* menu = world_.getNodeNamed(kEndingMenuName);
  if (CC3Node* credits = menu ? menu->getNodeNamed("menu-end2") : nullptr)
    credits->setIsTouchEnabled(true);
  world_.turns().creditsClosed();
}

// MARK: drag hint

void lumoMenusAndHints::addDragHint() {
  auto finger = makeControl(
      {kFingerName, 65, 59, 65, 0.32f, "hint_finger.png", kNoTag, false, true, {47, 83, 350}});
  auto arrow = makeControl(
      {kArrowName, 21, 23, 21, 0.32f, "hint_arrow_up.png", kNoTag, false, true, {43, 105, 350}});
  world_.addChild(finger.get());
  world_.addChild(arrow.get());
  // The finger slides up, fades, returns unseen and fades in: a 4-second loop.
  finger->runAction(
      lumoNodeActions::forever({CC3MoveTo::actionWithDuration(1.0f, {47, 97, 350}).get(),
                                CCFadeOut::actionWithDuration(0.5f).get(),
                                CC3MoveTo::actionWithDuration(2.0f, {47, 83, 350}).get(),
                                CCFadeIn::actionWithDuration(0.5f).get()})
          .get());
  arrow->runAction(lumoNodeActions::forever({CCFadeOut::actionWithDuration(1.0f).get(),
                                             CCFadeIn::actionWithDuration(1.0f).get()})
                       .get());
}

void lumoMenusAndHints::removeDragHint() {
  removeNodeNamed(kArrowName);
  removeNodeNamed(kFingerName);
}
