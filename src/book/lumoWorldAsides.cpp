#include "CC3Actions.h"
#include "CC3Billboard.h"
#include "CC3PlaneNode.h"
#include "CC3Texture.h"
#include "CCAction.h"
#include "CCActionInterval.h"
#include "CCDirector.h"
#include "CCLabelTTF.h"
#include "EventLog.h"
#include "KstSound.h"
#include "NSBundle.h"
#include "NSNotificationCenter.h"
#include "NSStringDrawing.h"
#include "Random.h"
#include "UIDevice.h"
#include "UIScreen.h"
#include "lmAsideGeometry.h"
#include "lmReadingAids.h"
#include "lumoPagePrefetch.h"
#include "lumoWorld.h"

namespace {
const char* const kPanelName = "aside_bg";
const char* const kRepeatName = "aside_repeat_highlighted";
const char* const kHintName = "hint_dialogue";
const char* const kFontName = "ArialRoundedMTBold";
const std::string kNil = "nil";
constexpr GLuint kRepeatTag = 4000;
constexpr int kPulseActionTag = 4001;
constexpr float kBillboardUnityDistance = 45;

bool isTablet() {
  return UIDevice::currentDevice().userInterfaceIdiom() == UIUserInterfaceIdiomPad;
}

// The screen's long side: portrait bounds, so their height.
float screenLongSide() {
  return UIScreen::mainScreen().bounds().size.height;
}

Ptr<CCAction> forever(std::initializer_list<CCFiniteTimeAction*> steps) {
  auto sequence = CCSequence::actions(steps);
  return CCRepeatForever::actionWithAction(static_cast<CCActionInterval*>(sequence.get()));
}
}  // namespace

// MARK: the panel

void lumoWorld::showAside() {
  const KstStage::StringList& aside = genStageAsideWithIndex(stageInfo_->curStageIndex());
  if (aside.size() < 3 || aside[0] == kNil) return;
  removeAsidePanel();  // never two panels, whatever called us twice

  auto panel = makeAsidePlane(
      kPanelName,
      lmAsideGeometry::panelSize(screenLongSide(), universalScaleWidth_, universalScaleHeight_),
      nextPageNodeTag());
  panel->setLocation(stageInfo_->asideLocation());
  auto repeat = makeAsidePlane(
      kRepeatName, lmAsideGeometry::repeatButtonSize(universalScaleWidth_, universalScaleHeight_),
      kRepeatTag);
  repeat->setIsTouchEnabled(true);
  repeat->setVisible(false);

  const bool english = stageInfo_->curLangTag() == lmStageInfo::kLangEnglish;
  CGSize measured = CGSizeZero;
  auto text = makeAsideText(aside[0], english ? aside[2] : aside[1], measured);

  addChild(panel.get());
  panel->addChild(text.get());
  panel->addChild(repeat.get());

  const lmAsideGeometry geometry = lmAsideGeometry::forTextHeight(measured.height, isTablet());
  text->setOffsetPosition(geometry.billboardOffset);
  repeat->setLocation(geometry.repeatLocation);

  panel->setOpacity(0);
  auto fadeIn = CCFadeIn::actionWithDuration(0.5f);
  auto slide = CC3MoveBy::actionWithDuration(0.5f, {0, geometry.slide(), 0});
  auto both = CCSequence::actionOne(fadeIn.get(), slide.get());
  panel->runAction(CCRepeat::actionWithAction(both.get(), 1).get());
  EventLog::log("aside", "shown " + aside[0] + " lang=" + std::to_string(stageInfo_->curLangTag()) +
                             " size=" + std::to_string(int(measured.width)) + "x" +
                             std::to_string(int(measured.height)));

  if (lmReadingAids::shared().readsByMyself()) {
    // The reader reads first: the page is as after its narration, and the
    // repeat button reads it aloud when asked (when there is a recording).
    EventLog::log("aside", "read by myself " + aside[0]);
    const std::string& sound = genStageSoundWithIndex(stageInfo_->curStageIndex());
    if (sound != kNil && !NSBundle::mainBundle().pathForResource(sound, "mp3").empty())
      pulseRepeatButton();
    placeDialogueHint();
    return;
  }
  performSelector(SELECTOR(lumoWorld::playAsideSound), 1.0);
}

Ptr<CC3PlaneNode> lumoWorld::makeAsidePlane(const std::string& name, CGSize size, GLuint tag) {
  auto plane = CC3PlaneNode::nodeWithTag(tag, name);
  auto texture = CC3Texture::textureFromFile(name + ".png");
  plane->populateAsCenteredRectangleWithSize(size, texture.get(), true);
  plane->setIsOpaque(false);
  return plane;
}

Ptr<CC3Billboard> lumoWorld::makeAsideText(const std::string& name, const std::string& text,
                                           CGSize& measured) {
  const float fontSize = lmAsideGeometry::fontSize(isTablet());
  // An unknown font measures nothing and its label draws nothing: an empty panel.
  if (auto font = UIFont::fontWithName(kFontName, fontSize))
    measured = NSStringDrawing::sizeWithFont(
        text, *font, lmAsideGeometry::textBox(screenLongSide()), UILineBreakModeHeadTruncation);
  auto label =
      CCLabelTTF::labelWithString(text, measured, UITextAlignmentLeft, kFontName, fontSize);
  if (label) label->setColor(ccc3(255, 255, 255));
  auto billboard = makeObject<CC3Billboard>();
  billboard->initWithTag(nextPageNodeTag(), name, label.get());
  billboard->setUnityScaleDistance(kBillboardUnityDistance);
  return billboard;
}

void lumoWorld::playAsideSound() {
  // Sentence by sentence, the page starts at its first sentence (the repeat button too).
  if (sentences_->readFromFirst()) return;
  const std::string& name = genStageSoundWithIndex(stageInfo_->curStageIndex());
  KstSound* sound = KstSound::shared();
  sound->playSoundWithName(name, "mp3");
  // "nil" and a missing recording start nothing.
  if (name != kNil && sound->playingSoundName() == name) {
    EventLog::log("narration", "started " + name);
    startFollowingWords();
  }
}

// MARK: leaving a page

void lumoWorld::dismissAsideWithAnimation(bool animated) {
  const std::int32_t page = stageInfo_->curStageIndex();
  if (page == 1) {
    for (const char* name : {"hint_arrow_up", "hint_finger", "menu-lan"})
      removeWithActions(getNodeNamed(name));
  } else if (page == stage_->totalStageCount()) {
    removeWithActions(getNodeNamed("menu-end"));
    for (const char* title : {"s18layer2-cn", "s18layer3-cn"})
      if (CC3Node* node = currentGroundChild(title)) node->setVisible(false);
  } else if (!animated) {
    removeAsidePanel();
  }
  // Whatever is still pending belongs to the page being left, the cover's and
  // the last page's calls too: run later, they would act on the next page.
  if (!animated) cancelPendingPageCalls();
}

void lumoWorld::cancelPendingPageCalls() {
  cancelPreviousPerformRequestsWithTarget(this, SELECTOR(lumoWorld::showAside));
  cancelPreviousPerformRequestsWithTarget(this, SELECTOR(lumoWorld::playAsideSound));
  cancelPreviousPerformRequestsWithTarget(this, SELECTOR(lumoWorld::addMenu));
}

void lumoWorld::removeAsidePanel() {
  CC3Node* panel = getNodeNamed(kPanelName);
  if (!panel) return;
  stopFollowingWords();
  sentences_->stop();
  wordTaps_->stop();
  std::string name;
  for (std::size_t i = 0; i < panel->childCount(); ++i)
    if (dynamic_cast<CC3Billboard*>(panel->childAt(i)))
      name = panel->childAt(i)->name().value_or("");
  removeWithActions(panel);
  EventLog::log("aside", "dismissed " + name);
}

void lumoWorld::removeWithActions(CC3Node* node) {
  if (!node) return;
  Ptr<CCArray> subtree = node->flatten();
  for (NSObject* each : *subtree) static_cast<CC3Node*>(each)->stopAllActions();
  node->remove();
}

CCLabelTTF* lumoWorld::asideLabel() {
  CC3Node* panel = getNodeNamed(kPanelName);
  for (std::size_t i = 0; panel && i < panel->childCount(); ++i)
    if (auto* text = dynamic_cast<CC3Billboard*>(panel->childAt(i)))
      return dynamic_cast<CCLabelTTF*>(text->billboard());
  return nullptr;
}

CC3Node* lumoWorld::currentGroundChild(const std::string& name) {
  CC3Node* ground = getNodeNamed(stageInfo_->curGroundName());
  return ground ? ground->getNodeNamed(name) : nullptr;
}

// MARK: end of a recording

void lumoWorld::asideDidFinish(NSNotification* notification) {
  stopFollowingWords();
  const bool isAside = notification && notification->userInfo().boolValue("isAside");
  const bool isPart = notification && notification->userInfo().boolValue("isPart");
  if (isPart) wordTaps_->soundEnded();
  // A sentence with more to come, a word, or a figure's line in the middle of
  // the page's sentences: no repeat button or hint yet, only the figures ready.
  const lumoSentenceReading::PartEnd sentence =
      isPart ? sentences_->partEnded() : lumoSentenceReading::PartEnd::kNotASentence;
  if (sentence == lumoSentenceReading::PartEnd::kNotASentence) sentences_->otherSoundEnded();
  if ((isPart && sentence != lumoSentenceReading::PartEnd::kLastRead) || sentences_->midPage()) {
    k_animationYES_ = true;
    return;
  }
  pulseRepeatButton();
  if (isAside) {
    EventLog::log("narration", "finished");
    placeDialogueHint();
  }
  k_animationYES_ = true;
}

void lumoWorld::pulseRepeatButton() {
  CC3Node* panel = getNodeNamed(kPanelName);
  CC3Node* repeat = panel ? panel->getNodeNamed(kRepeatName) : nullptr;
  if (!repeat) return;
  repeat->setVisible(true);
  // A second end (a dialogue after the narration) must not start a second pulse.
  repeat->stopActionByTag(kPulseActionTag);
  auto fadeOut = CCFadeOut::actionWithDuration(1.5f);
  auto fadeIn = CCFadeIn::actionWithDuration(1.5f);
  auto pulse = forever({fadeOut.get(), fadeIn.get()});
  pulse->setTag(kPulseActionTag);
  repeat->runAction(pulse.get());
}

void lumoWorld::placeDialogueHint() {
  if (curTouchSet_.empty()) return;
  for (const std::string& id : curTouchSet_) {
    CC3Node* figure = currentGroundChild(id);
    if (figure && figure->getNodeNamed(kHintName)) return;  // one hint a page
  }
  const std::size_t count = curTouchSet_.size();
  const std::size_t choice =
      count == 1 ? 0 : static_cast<std::size_t>(static_cast<unsigned long>(Random::next()) % count);
  CC3Node* figure = currentGroundChild(curTouchSet_[choice]);
  if (!figure) return;
  auto hint = makeAsidePlane(
      kHintName, lmAsideGeometry::dialogueHintSize(universalScaleWidth_, universalScaleHeight_),
      nextPageNodeTag());
  hint->setLocation({0, figure->textureHeight() / 2, 10});
  figure->addChild(hint.get());
  std::vector<Ptr<CC3ScaleTo>> beats;
  for (float s : {0.8f, 1.25f, 0.8f, 1.25f})
    beats.push_back(CC3ScaleTo::actionWithDuration(0.5f, {s, s, 0}));
  hint->runAction(forever({beats[0].get(), beats[1].get(), beats[2].get(), beats[3].get()}).get());
}

// MARK: the repeat button (tag 4000)

void lumoWorld::repeatNarration(CC3Node* button) {
  flashNode(button);
  auto tilt = CC3RotateBy::actionWithDuration(0.3f, {-10, 0, 0});
  auto back = CC3RotateBy::actionWithDuration(0.3f, {10, 0, 0});
  button->runAction(CCSequence::actionOne(tilt.get(), back.get()).get());
  playAsideSound();
  button->setVisible(false);
}

// MARK: the panel's reader features

const std::string& lumoWorld::currentNarration() const {
  return genStageSoundWithIndex(stageInfo_->curStageIndex());
}

bool lumoWorld::panelTapped(CGPoint layerPoint) {
  const CGPoint at{layerPoint.x, CCDirector::sharedDirector()->winSize().height - layerPoint.y};
  if (!wordTaps_->panelContains(at)) return false;
  const int word = wordTaps_->wordAt(at);
  // The sentence that waits is read by a tap on it or on the panel around the words.
  if (sentences_->waiting() && (word < 0 || sentences_->inNextSentence(word)))
    return sentences_->readNext();
  return word >= 0 && wordTaps_->play(word);
}

void lumoWorld::paceChanged() {
  lumoPagePrefetch::shared().prefetchSounds(*stage_, stageInfo_->curStageIndex(),
                                            stageInfo_->curLangTag());
}

std::vector<lmSentences::Sentence> lumoWorld::panelSentences() {
  if (!sentences_->sentences().empty()) return sentences_->sentences();
  CCLabelTTF* label = asideLabel();
  return label ? lmSentences::split(label->string()) : std::vector<lmSentences::Sentence>{};
}
