#include "lumoPageAssembly.h"

#include "CC3Texture.h"
#include "KstSound.h"
#include "KstSpriteFactory.h"
#include "lumoNodeActions.h"
#include "lumoPagePrefetch.h"
#include "lumoWorld.h"

namespace {
constexpr std::int32_t kGroundLayerId = 0;
constexpr std::int32_t kBackgroundLayerId = 10;
// The incoming page of a forward turn lies this far under the old one.
constexpr float kGroundLift = 5;
// The incoming page's layers lie folded flat, onto the ground or the other way.
constexpr float kFoldedLayers = 90;
// The drag hint comes when the reader has had a look at the cover.
constexpr double kDragHintDelay = 2.0;
// The panel comes when the page has been seen at rest.
constexpr double kPanelDelay = 0.5;
constexpr float kCoverTitleDepthAtStart = -90;
constexpr float kCoverTitleDepthOnReturn = -100;

// Adds `degrees` to the x rotation of every layer of a ground.
void tiltLayersAboutX(CC3Node* ground, float degrees) {
  for (std::size_t i = 0; i < ground->childCount(); ++i) {
    CC3Node* layer = ground->childAt(i);
    CC3Vec3 rotation = layer->rotation();
    rotation.x += degrees;
    layer->setRotation(rotation);
  }
}
}  // namespace

Ptr<CC3PlaneNode> lumoPageAssembly::makePlane(const KstSpriteId& record) {
  auto plane = CC3PlaneNode::nodeWithTag(lumoWorld::nextPageNodeTag(), record.identifier());
  const CGSize size{record.width() * world_.universalScaleWidth() * record.widthScale(),
                    record.height() * world_.universalScaleHeight() * record.heightScale()};
  auto texture = CC3Texture::textureFromFile(record.path());
  if (record.layerId() == kGroundLayerId) {
    plane->populateAsCenteredRectangleWithSize(size, texture.get(), true);
  } else {
    if (record.layerId() != kBackgroundLayerId) {
      if (lumoBookNames::isLanguageLayer(record.identifier())) {
        plane->setVisible(false);
      } else if (lumoBookNames::isFigureLayer(record.identifier())) {
        plane->setIsTouchEnabled(true);
        touchSet_.push_back(record.identifier());
      }
    }
    // Layers stand on their bottom centre.
    plane->populateAsRectangleWithSize(size, CGPoint{size.width / 2, 0}, texture.get(), true);
  }
  plane->setTextureWidth(size.width);
  plane->setTextureHeight(size.height);
  plane->setLocation(record.location());
  plane->setRotation(record.rotation());
  plane->setIsOpaque(false);
  plane->fitToPicture();
  return plane;
}

std::string lumoPageAssembly::build(std::int32_t page) {
  KstSpriteDictionary records =
      KstSpriteFactory::createWithStageInfo(world_.genStageElementWithIndex(page), &builtPage_);
  std::vector<Ptr<CC3PlaneNode>> layers;
  std::string groundName;
  for (const auto& [identifier, record] : records) {
    auto plane = makePlane(*record);
    if (record->layerId() == kGroundLayerId) {
      groundName = identifier;
      // A new page keeps the reader's current tilt.
      plane->setRotation(world_.stageInfo()->rotation());
      world_.addChild(plane.get());
    } else {
      layers.push_back(plane);
    }
  }
  if (CC3Node* ground = world_.getNodeNamed("ground" + std::to_string(builtPage_))) {
    for (const auto& layer : layers) ground->addChild(layer.get());
  }
  return groundName;
}

void lumoPageAssembly::buildIncoming(std::int32_t page, lumoTurn turn) {
  lmStageInfo* info = world_.stageInfo();
  touchSet_.clear();
  const std::string groundName = build(page);
  const bool forward = turn == lumoTurn::kForward;
  if (forward) {
    info->setNextGroundName(groundName);
  } else {
    info->setPreGroundName(groundName);
  }
  CC3Node* ground = groundName.empty() ? nullptr : world_.getNodeNamed(groundName);
  if (!ground) return;
  if (forward) {
    // Lying just under the old page, its layers folded flat onto it.
    CC3Vec3 location = ground->location();
    location.y -= kGroundLift;
    ground->setLocation(location);
  } else {
    // Standing upright behind the old page, its layers folded the other way.
    CC3Vec3 rotation = info->rotation();
    rotation.x -= 90;
    ground->setRotation(rotation);
  }
  tiltLayersAboutX(ground, forward ? kFoldedLayers : -kFoldedLayers);
}

void lumoPageAssembly::showFirstPage(std::int32_t page) {
  lumoTurnMachine& turns = world_.turns();
  turns.releaseLock();
  turns.info()->setCurGroundName(build(page));
  if (page == 1) {
    world_.titles().sinkCoverTitle(kCoverTitleDepthAtStart);
    world_.performSelector(SELECTOR(lumoWorld::addHelpAlert), kDragHintDelay);
    // The language menu joins the cover once set-up has finished.
    world_.performSelector(SELECTOR(lumoWorld::addMenu), 0.0);
    lumoPagePrefetch::shared().pageDidSettle(*world_.stage(), page, turns.language());
  } else {
    // Opened on another page: it comes to rest as after a turn.
    comeToRest();
  }
  world_.reader().firstPageShown(page);
}

void lumoPageAssembly::removeLeftPage() {
  // A removed node's actions keep running: the old page's hint pulse would
  // hold the page alive.
  lumoNodeActions::removeWithActions(
      world_.getNodeNamed(world_.stageInfo()->shouldRemoveGroundName()));
}

void lumoPageAssembly::settle() {
  removeLeftPage();
  comeToRest();
  world_.reader().pageSettled();
}

void lumoPageAssembly::comeToRest() {
  lumoTurnMachine& turns = world_.turns();
  turns.settled();
  setLayersTouchable(true, kFiguresOnly);
  runPageEffects();
  world_.performSelector(SELECTOR(lumoWorld::showAside), kPanelDelay);
  lumoPagePrefetch::shared().pageDidSettle(*world_.stage(), turns.page(), turns.language());
}

void lumoPageAssembly::setLayersTouchable(bool touchable, Layers which) {
  CC3Node* ground = world_.currentGround();
  if (!ground) return;
  for (std::size_t i = 0; i < ground->childCount(); ++i) {
    CC3Node* child = ground->childAt(i);
    if (which == kEveryLayer || (child->name() && lumoBookNames::isFigureLayer(*child->name())))
      child->setIsTouchEnabled(touchable);
  }
}

void lumoPageAssembly::runPageEffects() {
  const KstStage& stage = *world_.stage();
  const std::int32_t page = world_.turns().page();
  if (page == 1) {
    world_.removeHome();
    world_.titles().sinkCoverTitle(kCoverTitleDepthOnReturn);
    world_.addMenu();
  } else if (page == 2) {
    world_.addHome();
  } else if (!stage.loopSoundForStage(page).empty()) {
    KstSound::shared()->playSpecialSoundWithName(stage.loopSoundForStage(page), "mp3");
  } else if (stage.stopsLoopSoundOnStage(page)) {
    KstSound::shared()->cancelSpecialSound();
  } else if (page == stage.totalStageCount()) {
    world_.addMenuEnding();
    world_.removeHome();
    world_.titles().sinkClosingTitle();
  }
}
