#include "EpubPagePictures.h"

#include <GLES/gl.h>
#include <GLES/glext.h>

#include <cstdio>
#include <filesystem>

#include "AVAudioPlayer.h"
#include "CC3Camera.h"
#include "CCDirector.h"
#include "CCTexture2D.h"
#include "EAGLView.h"
#include "KstSound.h"
#include "KstStory.h"
#include "NSAutoreleasePool.h"
#include "NSUserDefaults.h"
#include "PlatformHost.h"
#include "UIScreen.h"
#include "lmOwnVoices.h"
#include "lmStageInfo.h"
#include "lumoServices.h"

namespace {
constexpr const char* kBackdropName = "layer_bg";

unsigned runningActions(CC3Node* node) {
  unsigned count = 0;
  Ptr<CCArray> subtree = node->flatten();
  for (NSObject* each : *subtree) count += static_cast<CC3Node*>(each)->numberOfRunningActions();
  return count;
}
}  // namespace

std::string EpubPagePictures::pictureName(int page) {
  char name[32];
  std::snprintf(name, sizeof name, "page%02d.png", page);
  return name;
}

bool EpubPagePictures::render(std::int32_t language, const std::string& folder,
                              std::string& error) {
  PlatformHost& host = PlatformHost::shared();
  if (!host.open({true, -1}, error)) return false;
  // The reading language comes from the preferences: these are the
  // export's own, kept in its working folder, never the reader's.
  NSUserDefaults::resetStandardUserDefaults(
      (std::filesystem::path(folder) / "preferences.json").string());
  NSUserDefaults::standardUserDefaults().setObject(std::to_string(language),
                                                   lmStageInfo::kLanguageDefaultsKey);
  AVAudioPlayer::setUseVirtualBackend(true);
  lmOwnVoices::shared().setHeard(false);
  auto pictures = makeObject<EpubPagePictures>();
  pictures->folder_ = folder;
  pictures->pageCount_ = static_cast<int>(kstStoryPages().size());
  host.setFrameHook([painter = pictures.get()] { painter->onFrame(); });
  const int status = host.run(pictures.get());
  host.setFrameHook(nullptr);
  lumoServices::stopReading();
  UIApplication::sharedApplication().setDelegate(nullptr);
  error = pictures->error_;
  pictures = nullptr;
  NSAutoreleasePool::current().drain();
  NSUserDefaults::resetStandardUserDefaults();
  if (status != 0 && error.empty()) error = "the pages could not be drawn";
  return error.empty();
}

void EpubPagePictures::applicationDidFinishLaunching(UIApplication*) {
  window_ = makeObject<UIWindow>(UIScreen::mainScreen().bounds());
  CCDirector::setDirectorType(kCCDirectorTypeDisplayLink);
  CCDirector* director = CCDirector::sharedDirector();
  director->setDeviceOrientation(UIDeviceOrientationLandscapeLeft);
  director->setAnimationInterval(1.0 / 60);
  director->setDisplayFPS(false);
  auto view =
      EAGLView::viewWithFrame(window_->bounds(), kEAGLColorFormatRGBA8, GL_DEPTH_COMPONENT16_OES);
  if (!view) {
    error_ = "cannot create the GL view";
    PlatformHost::shared().quit(2);
    return;
  }
  director->setOpenGLView(view.get());
  window_->addSubview(view.get());
  window_->makeKeyAndVisible();
  CCTexture2D::setDefaultAlphaPixelFormat(kCCTexture2DPixelFormat_RGBA8888);
  const CGSize size = director->winSize();
  layer_ = lumoLayer::layerWithColor(ccc4(0, 0, 0, 255), size.width, size.height);
  layer_->scheduleUpdate();
  viewController_ = CCNodeController::controller();
  viewController_->runSceneOnNode(layer_.get());
  showPage(1);
}

void EpubPagePictures::applicationWillTerminate(UIApplication*) {
  CCDirector* director = CCDirector::sharedDirector();
  if (EAGLView* view = director->openGLView()) view->removeFromSuperview();
  releaseWorld();
  layer_ = nullptr;
  viewController_ = nullptr;
  window_ = nullptr;
  director->end();
}

// Each page is a book of its own opened there, as --page opens it: at rest
// at once, without a turn to wait for.
void EpubPagePictures::showPage(int page) {
  releaseWorld();
  page_ = page;
  settlingFrames_ = 0;
  cleared_ = false;
  world_ = page == 1 ? lumoWorld::world() : lumoWorld::worldOpenAt(page);
  layer_->setCc3World(world_.get());
  world_->play();
}

void EpubPagePictures::releaseWorld() {
  if (!world_) return;
  NSObject::cancelPreviousPerformRequestsWithTarget(world_.get());
  Ptr<CCArray> nodes = world_->flatten();
  for (NSObject* each : *nodes) static_cast<CC3Node*>(each)->stopAllActions();
  KstSound::shared()->cancelSound();
  KstSound::shared()->cancelSpecialSound();
  world_ = nullptr;
}

bool EpubPagePictures::atRest() const {
  CC3Node* ground = world_->currentGround();
  return ground && world_->turns().page() == page_ && !world_->turns().dragsLocked() &&
         runningActions(ground) == 0;
}

// What stands in front of the page goes: only the camera, the page and the
// backdrop behind it are drawn, and nothing pending may bring the rest back.
void EpubPagePictures::clearControls() {
  NSObject::cancelPreviousPerformRequestsWithTarget(world_.get());
  CC3Node* ground = world_->currentGround();
  for (std::size_t i = 0; i < world_->childCount(); ++i) {
    CC3Node* child = world_->childAt(i);
    const bool keep = child == ground || child == static_cast<CC3Node*>(world_->activeCamera()) ||
                      (child->name() && *child->name() == kBackdropName);
    if (!keep) child->setVisible(false);
  }
  if (CC3Node* hint = world_->getNodeNamed(lumoNarrationPanel::kDialogueHintName))
    hint->setVisible(false);
}

void EpubPagePictures::photograph() {
  const std::string path = (std::filesystem::path(folder_) / pictureName(page_)).string();
  std::string error;
  if (!PlatformHost::shared().saveScreenshot(path, error)) {
    error_ = "page " + std::to_string(page_) + ": " + error;
    PlatformHost::shared().quit(1);
  } else if (page_ < pageCount_) {
    showPage(page_ + 1);
  } else {
    PlatformHost::shared().quit(0);
  }
}

// Called before each frame: the frame after the controls were cleared is the
// page's picture.
void EpubPagePictures::onFrame() {
  if (!world_) return;
  if (cleared_) {
    photograph();
    return;
  }
  ++settlingFrames_;
  if (settlingFrames_ > 1 && (atRest() || settlingFrames_ >= kMostSettlingFrames)) {
    clearControls();
    cleared_ = true;
  }
}
