#include "lumoNarrationPanel.h"

#include "CC3Actions.h"
#include "CCActionInterval.h"
#include "CCLabelTTF.h"
#include "EventLog.h"
#include "NSBundle.h"
#include "NSStringDrawing.h"
#include "Random.h"
#include "UIDevice.h"
#include "UIScreen.h"
#include "lmAsideGeometry.h"
#include "lmReadingAids.h"
#include "lumoNodeActions.h"
#include "lumoWorld.h"

namespace {
const char* const kFontName = "ArialRoundedMTBold";
constexpr int kPulseActionTag = 4001;
constexpr float kBillboardUnityDistance = 45;
constexpr double kNarrationDelay = 1.0;

bool isTablet() {
  return UIDevice::currentDevice().userInterfaceIdiom() == UIUserInterfaceIdiomPad;
}

// The screen's long side: portrait bounds, so their height.
float screenLongSide() {
  return UIScreen::mainScreen().bounds().size.height;
}
}  // namespace

// MARK: the panel

void lumoNarrationPanel::show() {
  const KstStage::StringList& aside = world_.genStageAsideWithIndex(world_.turns().page());
  if (aside.size() < 3 || aside[0] == kKstNil) return;
  remove();  // never two panels, whatever called us twice

  const float scaleWidth = world_.universalScaleWidth();
  const float scaleHeight = world_.universalScaleHeight();
  auto panel =
      makePlane(kPanelName, lmAsideGeometry::panelSize(screenLongSide(), scaleWidth, scaleHeight),
                lumoWorld::nextPageNodeTag());
  panel->setLocation(world_.stageInfo()->asideLocation());
  auto repeat = makePlane(kRepeatName, lmAsideGeometry::repeatButtonSize(scaleWidth, scaleHeight),
                          lumoControlTable::tagOf(lumoControl::kRepeatNarration));
  repeat->setIsTouchEnabled(true);
  repeat->setVisible(false);

  const std::int32_t language = world_.turns().language();
  CGSize measured = CGSizeZero;
  auto text =
      makeText(aside[0], language == lmStageInfo::kLangEnglish ? aside[2] : aside[1], measured);

  world_.addChild(panel.get());
  panel->addChild(text.get());
  panel->addChild(repeat.get());

  const lmAsideGeometry geometry = lmAsideGeometry::forTextHeight(measured.height, isTablet());
  text->setOffsetPosition(geometry.billboardOffset);
  repeat->setLocation(geometry.repeatLocation);
  world_.ownVoice().addMicrophone(panel.get(), geometry.repeatLocation);

  panel->setOpacity(0);
  auto fadeIn = CCFadeIn::actionWithDuration(0.5f);
  auto slide = CC3MoveBy::actionWithDuration(0.5f, {0, geometry.slide(), 0});
  auto both = CCSequence::actionOne(fadeIn.get(), slide.get());
  panel->runAction(CCRepeat::actionWithAction(both.get(), 1).get());
  EventLog::log("aside", "shown " + aside[0] + " lang=" + std::to_string(language) +
                             " size=" + std::to_string(int(measured.width)) + "x" +
                             std::to_string(int(measured.height)));

  if (lmReadingAids::shared().readsByMyself()) {
    // The reader reads first: the page is as after its narration, and the
    // repeat button reads it aloud when asked (when there is a recording).
    EventLog::log("aside", "read by myself " + aside[0]);
    const std::string& sound = world_.genStageSoundWithIndex(world_.turns().page());
    if (sound != kKstNil && (!NSBundle::mainBundle().pathForResource(sound, "mp3").empty() ||
                             !world_.ownVoice().recordingFor(sound).empty()))
      pulseRepeatButton();
    placeDialogueHint();
    return;
  }
  world_.performSelector(SELECTOR(lumoWorld::playAsideSound), kNarrationDelay);
}

Ptr<CC3PlaneNode> lumoNarrationPanel::makePlane(const std::string& name, CGSize size, GLuint tag) {
  auto plane = CC3PlaneNode::nodeWithTag(tag, name);
  auto texture = CC3Texture::textureFromFile(name + ".png");
  plane->populateAsCenteredRectangleWithSize(size, texture.get(), true);
  plane->setIsOpaque(false);
  return plane;
}

Ptr<CC3Billboard> lumoNarrationPanel::makeText(const std::string& name, const std::string& text,
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
  billboard->initWithTag(lumoWorld::nextPageNodeTag(), name, label.get());
  billboard->setUnityScaleDistance(kBillboardUnityDistance);
  return billboard;
}

bool lumoNarrationPanel::playNarration() {
  // Sentence by sentence, the page starts at its first sentence (the repeat button too).
  if (world_.sentences().readFromFirst()) return true;
  const std::string& name = world_.genStageSoundWithIndex(world_.turns().page());
  KstSound* sound = KstSound::shared();
  // The reader's own recording of the page, when there is one, reads in its place.
  const std::string own = world_.ownVoice().recordingFor(name);
  if (own.empty())
    sound->playSoundWithName(name, "mp3");
  else
    sound->playSoundFromFile(name, own);
  if (name == kKstNil || sound->playingSoundName() != name) return false;
  EventLog::log("narration", "started " + name + (own.empty() ? "" : " (own voice)"));
  world_.startFollowingWords();
  return true;
}

CCLabelTTF* lumoNarrationPanel::textLabel() {
  CC3Node* panel = world_.getNodeNamed(kPanelName);
  for (std::size_t i = 0; panel && i < panel->childCount(); ++i)
    if (auto* text = dynamic_cast<CC3Billboard*>(panel->childAt(i)))
      return dynamic_cast<CCLabelTTF*>(text->billboard());
  return nullptr;
}

// MARK: leaving a page

void lumoNarrationPanel::dismissPageControls(bool animated) {
  lumoTurnMachine& turns = world_.turns();
  if (turns.page() == 1) {
    world_.menus().removeDragHint();
    world_.languageMenu().remove();
  } else if (turns.isLastPage()) {
    world_.menus().removeEndingMenu();
    world_.titles().hideClosingTitles();
  } else if (!animated) {
    remove();
  }
  // Whatever is still pending belongs to the page being left, the cover's and
  // the last page's calls too: run later, they would act on the next page.
  if (!animated) {
    cancelPendingCalls();
    NSObject::cancelPreviousPerformRequestsWithTarget(&world_, SELECTOR(lumoWorld::addMenu));
  }
}

void lumoNarrationPanel::cancelPendingCalls() {
  NSObject::cancelPreviousPerformRequestsWithTarget(&world_, SELECTOR(lumoWorld::showAside));
  NSObject::cancelPreviousPerformRequestsWithTarget(&world_, SELECTOR(lumoWorld::playAsideSound));
}

void lumoNarrationPanel::discard() {
  cancelPendingCalls();
  world_.stopFollowingWords();
  world_.sentences().stop();
  world_.wordTaps().stop();
  lumoNodeActions::removeWithActions(world_.getNodeNamed(kPanelName));
}

void lumoNarrationPanel::remove() {
  CC3Node* panel = world_.getNodeNamed(kPanelName);
  if (!panel) return;
  world_.stopFollowingWords();
  world_.sentences().stop();
  world_.wordTaps().stop();
  std::string name;
  for (std::size_t i = 0; i < panel->childCount(); ++i)
    if (dynamic_cast<CC3Billboard*>(panel->childAt(i)))
      name = panel->childAt(i)->name().value_or("");
  lumoNodeActions::removeWithActions(panel);
  EventLog::log("aside", "dismissed " + name);
}

// MARK: the end of a recording

void lumoNarrationPanel::recordingEnded(KstRecordingKind kind) {
  world_.stopFollowingWords();
  pulseRepeatButton();
  if (kind == KstRecordingKind::kNarration) {
    EventLog::log("narration", "finished");
    placeDialogueHint();
  }
}

void lumoNarrationPanel::pulseRepeatButton() {
  CC3Node* panel = world_.getNodeNamed(kPanelName);
  CC3Node* repeat = panel ? panel->getNodeNamed(kRepeatName) : nullptr;
  if (!repeat) return;
  repeat->setVisible(true);
  // A second end (a dialogue after the narration) must not start a second pulse.
  repeat->stopActionByTag(kPulseActionTag);
  auto fadeOut = CCFadeOut::actionWithDuration(1.5f);
  auto fadeIn = CCFadeIn::actionWithDuration(1.5f);
  auto pulse = lumoNodeActions::forever({fadeOut.get(), fadeIn.get()});
  pulse->setTag(kPulseActionTag);
  repeat->runAction(pulse.get());
}

void lumoNarrationPanel::placeDialogueHint() {
  const std::vector<std::string>& figures = world_.curTouchSet();
  if (figures.empty()) return;
  for (const std::string& id : figures) {
    CC3Node* figure = world_.currentGroundChild(id);
    if (figure && figure->getNodeNamed(kDialogueHintName)) return;  // one hint a page
  }
  const std::size_t count = figures.size();
  const std::size_t choice =
      count == 1 ? 0 : static_cast<std::size_t>(static_cast<unsigned long>(Random::next()) % count);
  CC3Node* figure = world_.currentGroundChild(figures[choice]);
  if (!figure) return;
  auto hint = makePlane(kDialogueHintName,
                        lmAsideGeometry::dialogueHintSize(world_.universalScaleWidth(),
                                                          world_.universalScaleHeight()),
                        lumoWorld::nextPageNodeTag());
  hint->setLocation({0, figure->textureHeight() / 2, 10});
  figure->addChild(hint.get());
  std::vector<Ptr<CC3ScaleTo>> beats;
  for (float s : {0.8f, 1.25f, 0.8f, 1.25f})
    beats.push_back(CC3ScaleTo::actionWithDuration(0.5f, {s, s, 0}));
  hint->runAction(
      lumoNodeActions::forever({beats[0].get(), beats[1].get(), beats[2].get(), beats[3].get()})
          .get());
}

// MARK: the repeat button

bool lumoNarrationPanel::repeatTapped(CC3Node* button) {
  lumoNodeActions::flash(button);
  lumoNodeActions::rock(button);
  world_.playAsideSound();
  button->setVisible(false);
  return true;
}
