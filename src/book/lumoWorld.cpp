#include "lumoWorld.h"

#include "Assert.h"
#include "CC3Camera.h"
#include "CC3Light.h"
#include "CC3NodeSequencer.h"
#include "CC3PlaneNode.h"
#include "CC3Texture.h"
#include "Clock.h"
#include "KstSound.h"
#include "NSNotificationCenter.h"
#include "NSRunLoop.h"
#include "NSUserDefaults.h"
#include "Random.h"

namespace {
const char* const kLanguageKey = "Lan";
}  // namespace

Ptr<lumoWorld> lumoWorld::world() {
  return makeNode<lumoWorld>(nextPageNodeTag(), std::nullopt);
}

lumoWorld::~lumoWorld() {
  // Nothing may call back into a world that is gone.
  NSNotificationCenter::defaultCenter().removeObserver(this);
  NSObject::cancelPreviousPerformRequestsWithTarget(this);
  UIAccelerometer& accelerometer = UIAccelerometer::sharedAccelerometer();
  if (accelerometer.delegate() == this) accelerometer.setDelegate(nullptr);
}

GLuint lumoWorld::nextPageNodeTag() {
  GLuint tag = nextNodeTag();
  while (tag >= kFirstControlTag && tag <= kLastControlTag) tag = nextNodeTag();
  return tag;
}

void lumoWorld::initializeWorld() {
  setDrawingSequencer(CC3BTreeNodeSequencer::sequencerLocalContentOpaqueFirstGroupMeshes());
  universalScaleWidth_ = kUniversalScaleWidth;
  universalScaleHeight_ = kUniversalScaleHeight;
  KstSound::shared()->playBgSoundWithName("background", "mp3");
  stage_ = KstStage::stage();
  stageInfo_ = lmStageInfo::stageInfo();
  curTouchSet_.clear();
  setUpLanguage();
  setUpCameraAndLamp();
  increaseUp_ = 0;
  increaseDown_ = 0;
  releaseRedundantData();
  renderBeginningStageWithIndex(stageInfo_->curStageIndex());
  addBackdrop();
  UIAccelerometer& accelerometer = UIAccelerometer::sharedAccelerometer();
  accelerometer.setUpdateInterval(kAccelerometerInterval);
  accelerometer.setDelegate(this);
  if (activeCamera()) activeCamera()->setUniformScale(kCameraUniformScale);
  Random::seed(static_cast<std::uint32_t>(Clock::current().seconds()));
  k_animationYES_ = true;
  NSNotificationCenter& center = NSNotificationCenter::defaultCenter();
  center.addObserver(this, SELECTOR(lumoWorld::asideDidFinish), "asidedidfinishnotification",
                     nullptr);
  center.addObserver(this, SELECTOR(lumoWorld::creditsDidFinish), "creditsdidfinishnotification",
                     nullptr);
}

void lumoWorld::setUpLanguage() {
  NSUserDefaults& defaults = NSUserDefaults::standardUserDefaults();
  if (defaults.hasKey(kLanguageKey)) {
    stageInfo_->setCurLangTag(static_cast<std::int32_t>(defaults.integerForKey(kLanguageKey)));
  } else {
    defaults.setObject("2000", kLanguageKey);
    defaults.synchronize();
  }
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
  const CGSize size{1024 * kBackdropPages * universalScaleWidth_,
                    768 * kBackdropPages * universalScaleHeight_};
  auto texture = CC3Texture::textureFromFile("layer_bg.png");
  backdrop->populateAsRectangleWithSize(size, CGPoint{size.width / 2, 0}, texture.get(), true);
  backdrop->setIsOpaque(false);
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
  return stage_->narrationSoundForStage(index, stageInfo_->curLangTag());
}

std::string lumoLayerSuffix(const std::string& identifier) {
  const auto first = identifier.find('-');
  if (first == std::string::npos) return {};
  const auto second = identifier.find('-', first + 1);
  return identifier.substr(first + 1,
                           second == std::string::npos ? std::string::npos : second - first - 1);
}
