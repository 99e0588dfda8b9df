#include "lumoWorld.h"

#include "Assert.h"
#include "CC3Camera.h"
#include "CC3Light.h"
#include "CC3NodeSequencer.h"
#include "CC3NodeVisitor.h"
#include "CC3PictureFitting.h"
#include "CC3PlaneNode.h"
#include "CC3Texture.h"
#include "CCLabelTTF.h"
#include "CCTouchDispatcher.h"
#include "Clock.h"
#include "EventLog.h"
#include "NSNotificationCenter.h"
#include "Random.h"
#include "lumoPagePrefetch.h"

Ptr<lumoWorld> lumoWorld::world() {
  return makeNode<lumoWorld>(nextPageNodeTag(), std::nullopt);
}

Ptr<lumoWorld> lumoWorld::worldOpenAt(std::int32_t page) {
  // Set-up runs inside the initialiser, so the page is known before it.
  auto world = makeObject<lumoWorld>();
  world->openingPage_ = page;
  world->initWithTag(nextPageNodeTag(), std::nullopt);
  return world;
}

lumoWorld::~lumoWorld() {
  // Nothing may call back into a world that is gone.
  NSNotificationCenter::defaultCenter().removeObserver(this);
  NSObject::cancelPreviousPerformRequestsWithTarget(this);
  UIAccelerometer& accelerometer = UIAccelerometer::sharedAccelerometer();
  if (accelerometer.delegate() == this) accelerometer.setDelegate(nullptr);
  KstSound::shared()->setDialogueCutListener(nullptr);
}

GLuint lumoWorld::nextPageNodeTag() {
  GLuint tag = nextNodeTag();
  while (tag >= kFirstControlTag && tag <= kLastControlTag) tag = nextNodeTag();
  return tag;
}

void lumoWorld::initializeWorld() {
  // Opaque pictures nearest first, so that the pixels they cover are not shaded.
  setDrawingSequencer(CC3PictureFitting::enabled()
                          ? CC3BTreeNodeSequencer::sequencerLocalContentOpaqueNearFirst()
                          : CC3BTreeNodeSequencer::sequencerLocalContentOpaqueFirstGroupMeshes());
  universalScaleWidth_ = kUniversalScaleWidth;
  universalScaleHeight_ = kUniversalScaleHeight;
  KstSound::shared()->playBgSoundWithName("background", "mp3");
  stage_ = KstStage::stage();
  makeParts();
  turns_->restoreLanguage();
  if (openingPage_ >= 1 && openingPage_ <= stage_->totalStageCount()) turns_->turnTo(openingPage_);
  setUpCameraAndLamp();
  releaseRedundantData();
  renderBeginningStageWithIndex(turns_->page());
  addBackdrop();
  UIAccelerometer& accelerometer = UIAccelerometer::sharedAccelerometer();
  accelerometer.setUpdateInterval(kAccelerometerInterval);
  accelerometer.setDelegate(this);
  if (activeCamera()) activeCamera()->setUniformScale(kCameraUniformScale);
  Random::seed(static_cast<std::uint32_t>(Clock::current().seconds()));
  turns_->setFiguresReady(true);
  NSNotificationCenter& center = NSNotificationCenter::defaultCenter();
  center.addObserver(this, SELECTOR(lumoWorld::asideDidFinish),
                     lumoBookNames::kRecordingDidFinishNotification, nullptr);
  center.addObserver(this, SELECTOR(lumoWorld::creditsDidFinish),
                     lumoBookNames::kCreditsDidFinishNotification, nullptr);
}

void lumoWorld::makeParts() {
  turns_ = std::make_unique<lumoTurnMachine>(stage_->totalStageCount());
  pages_ = std::make_unique<lumoPageAssembly>(*this);
  motion_ = std::make_unique<lumoPageTurnMotion>(*this);
  gestures_ = std::make_unique<lumoGestureRecogniser>();
  tilt_ = std::make_unique<lumoPageTilt>(*turns_->info());
  controls_ = std::make_unique<lumoControlTable>();
  figures_ = std::make_unique<lumoFigureDialogue>(*this);
  panel_ = std::make_unique<lumoNarrationPanel>(*this);
  words_ = std::make_unique<lumoLitWords>(*this);
  wordTaps_ = std::make_unique<lumoWordTaps>(*this);
  sentences_ = std::make_unique<lumoSentenceReading>(*this);
  titles_ = std::make_unique<lumoLanguageTitles>(*this);
  languageMenu_ = std::make_unique<lumoLanguageMenu>(*this);
  menus_ = std::make_unique<lumoMenusAndHints>(*this);
  reader_ = std::make_unique<lumoReaderFeatures>(*this);
  ownVoice_ = std::make_unique<lumoOwnVoice>(*this);
  turns_->setLockListener([this](bool locked) { menus_->turnLockChanged(locked); });
  routeControls();
  // The panel first: the figures are ready again once it has had its say.
  addRecordingEndListener([this](KstRecordingKind kind) { panel_->recordingEnded(kind); });
  addRecordingEndListener([this](KstRecordingKind) { turns_->recordingEnded(); });
  // A line cut short (a turn, home, a narration) gives the figures back too.
  KstSound::shared()->setDialogueCutListener([this] { turns_->recordingEnded(); });
  addRecordingEndListener([this](KstRecordingKind kind) { reader_->recordingEnded(kind); });
}

void lumoWorld::routeControls() {
  using Control = lumoControl;
  lumoControlTable& table = *controls_;
  table.setHandler(Control::kRussian, [this](CC3Node* button) {
    return languageMenu_->tapped(button, lmStageInfo::kLangRussian);
  });
  table.setHandler(Control::kEnglish, [this](CC3Node* button) {
    return languageMenu_->tapped(button, lmStageInfo::kLangEnglish);
  });
  table.setHandler(Control::kHome, [this](CC3Node* button) { return menus_->jumpHome(button); });
  table.setHandler(Control::kReplay, [this](CC3Node* button) { return menus_->replay(button); });
  table.setHandler(Control::kCredits,
                   [this](CC3Node* button) { return menus_->requestCredits(button); });
  table.setHandler(Control::kRepeatNarration,
                   [this](CC3Node* button) { return panel_->repeatTapped(button); });
  table.setHandler(Control::kPages, [this](CC3Node*) {
    reader_->toggleNavigator();
    return true;
  });
  table.setHandler(Control::kContinue,
                   [this](CC3Node* button) { return reader_->continueTapped(button); });
  table.setHandler(Control::kRecordVoice,
                   [this](CC3Node* button) { return ownVoice_->microphoneTapped(button); });
  table.setHandler(Control::kRecordingLight,
                   [this](CC3Node* light) { return ownVoice_->lightTapped(light); });
}

void lumoWorld::setUpCameraAndLamp() {
  auto camera = CC3Camera::nodeWithTag(nextPageNodeTag(), "Camera");
  camera->setLocation(kCameraLocation);
  addChild(camera.get());
  auto lamp = CC3Light::nodeWithTag(nextPageNodeTag(), "Lamp");
  lamp->setLocation(kLampLocation);
  lamp->setIsDirectionalOnly(false);
  camera->addChild(lamp.get());
}

void lumoWorld::addBackdrop() {
  auto backdrop = CC3PlaneNode::nodeWithTag(nextPageNodeTag(), "layer_bg");
  const CGSize size{DisplayGeometry::kLongSide * kBackdropPages * universalScaleWidth_,
                    DisplayGeometry::kShortSide * kBackdropPages * universalScaleHeight_};
  auto texture = CC3Texture::textureFromFile("layer_bg.png");
  backdrop->populateAsRectangleWithSize(size, CGPoint{size.width / 2, 0}, texture.get(), true);
  backdrop->setIsOpaque(false);
  backdrop->fitToPicture();
  backdrop->setLocation(kBackdropLocation);
  addChild(backdrop.get());
}

// MARK: content look-ups

const KstStage::StringList& lumoWorld::genStageElementWithIndex(std::int32_t index) const {
  CCAssert(index >= 1, "index should begin at 1");
  return stage_->groundsForStage(index);
}

const KstStage::StringList& lumoWorld::genStageAsideWithIndex(std::int32_t index) const {
  CCAssert(index >= 1, "index should begin at 1");
  return stage_->asideForStage(index);
}

const std::string& lumoWorld::genStageSoundWithIndex(std::int32_t index) const {
  return stage_->narrationSoundForStage(index, turns_->language());
}

namespace {
std::function<void(const std::string&)>& noticeHandler() {
  static std::function<void(const std::string&)> handler;
  return handler;
}
}  // namespace

void lumoWorld::setNoticeHandler(std::function<void(const std::string&)> handler) {
  noticeHandler() = std::move(handler);
}

void lumoWorld::showNotice(const std::string& text) const {
  EventLog::log("notice", text);
  if (noticeHandler()) noticeHandler()(text);
}

CC3Node* lumoWorld::currentGround() {
  return getNodeNamed(turns_->info()->curGroundName());
}

CC3Node* lumoWorld::currentGroundChild(const std::string& name) {
  CC3Node* ground = currentGround();
  return ground ? ground->getNodeNamed(name) : nullptr;
}

// MARK: turns

void lumoWorld::reflashStage(std::int32_t direction) {
  turnBy(static_cast<lumoTurn>(direction), lumoTurnBy::kReader);
}

void lumoWorld::turnBy(lumoTurn turn, lumoTurnBy by) {
  // Leaving the cover forwards: the drag hint has shown its use.
  if (turn == lumoTurn::kForward && turns_->page() == 1)
    cancelPreviousPerformRequestsWithTarget(this, SELECTOR(lumoWorld::addHelpAlert));
  const std::int32_t direction = static_cast<std::int32_t>(turn);
  const std::optional<std::int32_t> page = turns_->requestTurn(turn, by);
  if (!page) return;
  reader_->turnStarted();
  dismissAsideWithAnimation(false);
  turns_->turnTo(*page);
  KstSound::shared()->cancelSound();
  if (direction == static_cast<std::int32_t>(lumoTurn::kForward)) {
    stageUpAnimationWithStageIndex(*page);
  } else {
    stageDownAnimationWithStageIndex(*page);
  }
}

void lumoWorld::turnByReader(lumoTurn turn) {
  turnBy(turn, lumoTurnBy::kReader);
}

void lumoWorld::dismissAsideWithAnimation(bool animated) {
  reader_->pageLeft();
  panel_->dismissPageControls(animated);
}

void lumoWorld::readingAidsChanged() {
  words_->aidsChanged();
  sentences_->aidsChanged();
  reader_->readingAidsChanged();
}

void lumoWorld::finishLanguageChange(std::int32_t language) {
  languageMenu_->finishChange(language);
  reader_->languageChanged();
}

bool lumoWorld::requestTurnFromKey(std::int32_t direction) {
  CCAssert(direction == 0 || direction == 1, "a turn goes forward (0) or back (1)");
  // The turn lock refuses a key as it refuses a drag, so a held key turns once per turn.
  if (turns_->dragsLocked()) return false;
  turnByReader(static_cast<lumoTurn>(direction));
  return true;
}

// MARK: touches

void lumoWorld::touchEvent(GLuint touchType, CGPoint point) {
  // Nothing under the open page navigator answers a touch, not even the pick.
  const CGSize layer = viewportManager() ? viewportManager()->layerBoundsLocal().size : CGSizeZero;
  if (reader_->touchTaken(touchType, point, layer)) return;
  CC3World::touchEvent(touchType, point);
  switch (touchType) {
    case kCCTouchBegan:
      gestures_->touchBegan(point);
      // The pick of this touch must find no figure: only a tap may reach one.
      pages_->setLayersTouchable(false, lumoPageAssembly::kEveryLayer);
      break;
    case kCCTouchMoved:
      dragTo(point);
      break;
    case kCCTouchEnded:
      // A tap on the panel's words is theirs: the figures behind stay out of its pick.
      if (gestures_->touchEndsAsTap(point) && !wordTaps_->tapped(point))
        pages_->setLayersTouchable(true, lumoPageAssembly::kFiguresOnly);
      break;
    default:
      break;
  }
}

void lumoWorld::dragTo(CGPoint point) {
  const std::optional<lumoTurn> turn = gestures_->dragStepAt(point);
  if (!turn) return;
  if (turns_->dragsLocked()) {
    if (gestures_->firstRefusal()) turns_->refuseLocked(*turn);
    return;
  }
  turnByReader(*turn);
  gestures_->stepTaken(point);
}

void lumoWorld::nodeSelected(CC3Node* node, GLuint touchType, CGPoint point) {
  if (touchType == kCCTouchBegan) gestures_->pickBegan(point);
  if (touchType != kCCTouchEnded || !node || !gestures_->pickEndsAsTap(point)) return;
  // While the reader records, the page holds still: only the light ends it.
  if (!ownVoice_->allowsTapOn(node)) return;
  if (!controls_->dispatch(node)) figures_->tapped(node);
}

void lumoWorld::accelerometer(UIAccelerometer*, const UIAcceleration& acceleration) {
  const lumoGestureRecogniser::TiltStep step = gestures_->accelerate(acceleration);
  if (step.aboutX != 0 && turns_->tiltAllowed()) moveXAxisWithRate(step.aboutX);
  if (step.aboutY != 0 && turns_->tiltAllowed()) moveYAxisWithRate(step.aboutY);
}

void lumoWorld::updateBeforeTransform(CC3NodeUpdatingVisitor* visitor) {
  CC3World::updateBeforeTransform(visitor);
  updateCameraFromControls(visitor->deltaTime());
}

// MARK: the end of a recording

void lumoWorld::asideDidFinish(NSNotification* notification) {
  const KstRecordingKind kind = KstSound::endedRecordingKind(notification);
  // A word, a sentence with more to come, or a figure's line amid the page's
  // sentences ends only itself: the figures are ready again, nothing more.
  if (!sentences_->recordingEnded(KstSound::endedPart(notification))) {
    turns_->recordingEnded();
    return;
  }
  for (const RecordingEndListener& listener : recordingEndListeners_) listener(kind);
}

void lumoWorld::addRecordingEndListener(RecordingEndListener listener) {
  recordingEndListeners_.push_back(std::move(listener));
}

// MARK: the panel's reader features

const std::string& lumoWorld::currentNarration() const {
  return genStageSoundWithIndex(turns_->page());
}

std::vector<lmSentences::Sentence> lumoWorld::panelSentences() {
  if (!sentences_->sentences().empty()) return sentences_->sentences();
  CCLabelTTF* label = panel_->textLabel();
  return label ? lmSentences::split(label->string()) : std::vector<lmSentences::Sentence>{};
}

void lumoWorld::paceChanged() {
  lumoPagePrefetch::shared().prefetchSounds(*stage_, turns_->page(), turns_->language());
}
