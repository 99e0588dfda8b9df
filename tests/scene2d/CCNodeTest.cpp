#include "CCNode.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CCActionManager.h"
#include "CCDirector.h"
#include "CCLayer.h"
#include "CCScene.h"
#include "CCScheduler.h"
#include "CCTouchDispatcher.h"
#include "NSAutoreleasePool.h"
#include "TestSupport.h"

namespace {

std::vector<std::string> gLog;

// Records its lifecycle and drawing calls under a name.
class LogNode : public CCNode {
 public:
  explicit LogNode(std::string name) : name_(std::move(name)) {}
  void draw() override { gLog.push_back(name_ + ":draw"); }
  void onEnter() override {
    gLog.push_back(name_ + ":enter");
    CCNode::onEnter();
  }
  void onEnterTransitionDidFinish() override {
    gLog.push_back(name_ + ":didFinish");
    CCNode::onEnterTransitionDidFinish();
  }
  void onExit() override {
    gLog.push_back(name_ + ":exit");
    CCNode::onExit();
  }
  void cleanup() override {
    gLog.push_back(name_ + ":cleanup");
    CCNode::cleanup();
  }
  void update(ccSeconds) override { gLog.push_back(name_ + ":update"); }
  void tick(ccSeconds) { gLog.push_back(name_ + ":tick"); }
  std::string name_;
};

class CountingAction : public CCAction {
 public:
  bool isDone() const override { return false; }
  void step(ccSeconds) override { ++steps; }
  int steps = 0;
};

class CCNodeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gLog.clear();
    CCTouchDispatcher::sharedDispatcher();  // lives for the run, like the program's
    liveBefore_ = NSObject::liveObjectCount();
  }
  void TearDown() override {
    CCActionManager::purgeSharedManager();
    CCScheduler::purgeSharedScheduler();
    NSAutoreleasePool::current().drain();
    EXPECT_EQ(NSObject::liveObjectCount(), liveBefore_) << "objects leaked";
  }
  static void near(CGPoint actual, CGPoint expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-3f);
    EXPECT_NEAR(actual.y, expected.y, 1e-3f);
  }
  static std::vector<int> tagsOf(CCNode* parent) {
    std::vector<int> tags;
    for (NSObject* o : *parent->children()) tags.push_back(static_cast<CCNode*>(o)->tag());
    return tags;
  }
  // Lifecycle calls only, without the frame's drawing and updates.
  static std::vector<std::string> lifecycle() {
    std::vector<std::string> out;
    for (const auto& e : gLog)
      if (e.find(":draw") == std::string::npos && e.find(":update") == std::string::npos)
        out.push_back(e);
    return out;
  }
  std::int64_t liveBefore_ = 0;
};

TEST_F(CCNodeTest, ChildrenSortByZThenArrivalAndNegativesDrawBehind) {
  auto parent = makeObject<LogNode>("parent");
  const int zs[] = {0, -1, 0, 1, -1};
  for (int i = 0; i < 5; ++i) {
    auto child = makeObject<LogNode>("c" + std::to_string(i + 1));
    parent->addChild(child, zs[i], i + 1);
  }
  EXPECT_EQ(tagsOf(parent), (std::vector<int>{2, 5, 1, 3, 4}));
  parent->visit();
  EXPECT_EQ(gLog, (std::vector<std::string>{"c2:draw", "c5:draw", "parent:draw", "c1:draw",
                                            "c3:draw", "c4:draw"}));

  // Reordering puts the child after the others of its new z.
  parent->reorderChild(parent->getChildByTag(4), 0);
  EXPECT_EQ(tagsOf(parent), (std::vector<int>{2, 5, 1, 3, 4}));
  parent->reorderChild(parent->getChildByTag(1), 5);
  EXPECT_EQ(tagsOf(parent), (std::vector<int>{2, 5, 3, 4, 1}));
  parent->reorderChild(parent->getChildByTag(1), -2);
  EXPECT_EQ(tagsOf(parent), (std::vector<int>{1, 2, 5, 3, 4}));
  EXPECT_EQ(parent->getChildByTag(1)->zOrder(), -2);

  // An invisible node skips its subtree.
  gLog.clear();
  parent->getChildByTag(2)->setVisible(false);
  parent->setVisible(true);
  parent->visit();
  EXPECT_EQ(gLog.front(), "c1:draw");
  EXPECT_EQ(gLog.size(), 5u);
}

TEST_F(CCNodeTest, BadChildrenAndTags) {
  auto parent = CCNode::node(), child = CCNode::node(), stranger = CCNode::node();
  EXPECT_ASSERTION(parent->addChild(nullptr, 0, 1), "Argument must be non-nil");
  parent->addChild(child, 0, 7);
  EXPECT_ASSERTION(parent->addChild(child, 0, 8), "child already added. It can't be added again");
  EXPECT_ASSERTION(stranger->addChild(child), "child already added. It can't be added again");
  EXPECT_ASSERTION(parent->getChildByTag(-1), "Invalid tag");
  EXPECT_ASSERTION(parent->removeChildByTag(-1, true), "Invalid tag");
  EXPECT_ASSERTION(parent->reorderChild(nullptr, 1), "Child must be non-nil");
  EXPECT_EQ(parent->getChildByTag(99), nullptr);
  parent->removeChildByTag(99, true);
  parent->removeChild(stranger, true);
  parent->removeChild(nullptr, true);
  stranger->removeFromParentAndCleanup(true);
  EXPECT_EQ(parent->childrenCount(), 1u);
  EXPECT_EQ(child->retainCount(), 2u);
  parent->removeChildByTag(7, true);
  EXPECT_EQ(child->retainCount(), 1u);
  EXPECT_EQ(child->parent(), nullptr);
  EXPECT_EQ(child->tag(), 7);
  // Setters and the ambiguous scale.
  child->setScaleX(2);
  EXPECT_ASSERTION(child->scale(),
                   "CCNode#scale. ScaleX != ScaleY. Don't know which one to return");
  EXPECT_ASSERTION(child->schedule(Selector<ccSeconds>(), 1), "Argument must be non-nil");
  EXPECT_ASSERTION(child->schedule(SELECTOR(LogNode::tick), -1), "Arguemnt must be positive");
  EXPECT_ASSERTION(child->runAction(nullptr), "Argument must be non-nil");
  EXPECT_ASSERTION(child->stopActionByTag(-1), "Invalid tag");
  EXPECT_ASSERTION(child->getActionByTag(-1), "Invalid tag");
}

TEST_F(CCNodeTest, RotatedScaledAnchoredTransformAndItsInverse) {
  auto node = CCNode::node();
  node->setAnchorPoint({0.5f, 0.5f});
  node->setContentSize({100, 50});
  node->setPosition({10, 20});
  node->setScale(2);
  node->setRotation(90);
  near(CGPointApplyAffineTransform({50, 25}, node->nodeToParentTransform()), {10, 20});
  // Clockwise on screen: local +x points down in the parent.
  near(CGPointApplyAffineTransform({60, 25}, node->nodeToParentTransform()), {10, 0});
  near(CGPointApplyAffineTransform({50, 35}, node->nodeToParentTransform()), {30, 20});
  near(CGPointApplyAffineTransform({10, 0}, node->parentToNodeTransform()), {60, 25});
  near(CGPointApplyAffineTransform({30, 20}, node->parentToNodeTransform()), {50, 35});
  CGRect box = node->boundingBox();
  EXPECT_NEAR(box.origin.x, -40, 1e-3f);
  EXPECT_NEAR(box.origin.y, -80, 1e-3f);
  EXPECT_NEAR(box.size.width, 100, 1e-3f);
  EXPECT_NEAR(box.size.height, 200, 1e-3f);

  // Cached until a setter marks it dirty; both caches follow.
  node->setPosition({0, 0});
  near(CGPointApplyAffineTransform({50, 25}, node->nodeToParentTransform()), {0, 0});
  near(CGPointApplyAffineTransform({0, 0}, node->parentToNodeTransform()), {50, 25});

  // Anchor not relative (layers, scenes): position is the lower-left corner.
  auto layer = CCNode::node();
  layer->setIsRelativeAnchorPoint(false);
  layer->setAnchorPoint({0.5f, 0.5f});
  layer->setContentSize({200, 100});
  near(CGPointApplyAffineTransform({0, 0}, layer->nodeToParentTransform()), {0, 0});
  layer->setScale(2);
  near(CGPointApplyAffineTransform({100, 50}, layer->nodeToParentTransform()), {100, 50});
  near(CGPointApplyAffineTransform({0, 0}, layer->nodeToParentTransform()), {-100, -50});
}

TEST_F(CCNodeTest, ConversionsThroughNestedNodes) {
  auto root = CCNode::node(), mid = CCNode::node(), leaf = CCNode::node();
  root->addChild(mid);
  mid->addChild(leaf);
  mid->setPosition({100, 50});
  mid->setRotation(-90);  // counter-clockwise
  leaf->setPosition({10, 0});
  leaf->setScale(0.5f);
  leaf->setAnchorPoint({0.5f, 0.5f});
  leaf->setContentSize({40, 20});
  // Leaf's centre is at mid (10, 0) -> world (100, 60).
  near(leaf->convertToWorldSpace({20, 10}), {100, 60});
  near(leaf->convertToWorldSpaceAR({0, 0}), {100, 60});
  near(leaf->convertToNodeSpace({100, 60}), {20, 10});
  near(leaf->convertToNodeSpaceAR({100, 60}), {0, 0});
  // One local unit of the leaf is half a unit in the world, turned up.
  near(leaf->convertToWorldSpace({22, 10}), {100, 61});
  CGPoint back = leaf->convertToNodeSpace(leaf->convertToWorldSpace({3, -7}));
  near(back, {3, -7});
}

TEST_F(CCNodeTest, EnterExitCleanupOrderAndAddingToARunningParent) {
  auto parent = makeObject<LogNode>("p");
  auto child = makeObject<LogNode>("c");
  parent->addChild(child);
  parent->onEnter();
  parent->onEnterTransitionDidFinish();
  EXPECT_EQ(gLog, (std::vector<std::string>{"p:enter", "c:enter", "p:didFinish", "c:didFinish"}));
  EXPECT_TRUE(child->isRunning());

  // An action and an update issued before the add wait for it.
  gLog.clear();
  auto late = makeObject<LogNode>("late");
  auto action = makeObject<CountingAction>();
  late->runAction(action);
  late->scheduleUpdate();
  late->schedule(SELECTOR(LogNode::tick), 0);
  CCScheduler::sharedScheduler()->tick(0.1f);
  EXPECT_EQ(action->steps, 0);
  EXPECT_TRUE(gLog.empty());
  parent->addChild(late);
  EXPECT_EQ(gLog, (std::vector<std::string>{"late:enter", "late:didFinish"}));
  gLog.clear();
  CCScheduler::sharedScheduler()->tick(0.1f);
  EXPECT_EQ(action->steps, 1);
  EXPECT_EQ(gLog, (std::vector<std::string>{"late:update", "late:tick"}));

  gLog.clear();
  parent->removeChild(late, true);
  EXPECT_EQ(gLog, (std::vector<std::string>{"late:exit", "late:cleanup"}));
  EXPECT_EQ(late->numberOfRunningActions(), 0u);
  EXPECT_EQ(late->retainCount(), 1u);  // scheduler and action manager let go

  gLog.clear();
  parent->onExit();
  EXPECT_EQ(gLog, (std::vector<std::string>{"p:exit", "c:exit"}));
  EXPECT_FALSE(child->isRunning());
  gLog.clear();
  parent->removeAllChildrenWithCleanup(true);
  EXPECT_EQ(gLog, (std::vector<std::string>{"c:cleanup"}));
  EXPECT_EQ(child->parent(), nullptr);
  EXPECT_EQ(child->retainCount(), 1u);
}

TEST_F(CCNodeTest, SceneSwitchTearsDownTheOldTreeAndBalancesCounts) {
  CCDirector* director = CCDirector::sharedDirector();
  {
    auto first = CCScene::node();
    auto layer = makeObject<LogNode>("a");
    auto leaf = makeObject<LogNode>("a.leaf");
    layer->addChild(leaf);
    first->addChild(layer);
    leaf->runAction(makeObject<CountingAction>());
    leaf->scheduleUpdate();
    director->runWithScene(first);
  }
  director->drawScene();
  EXPECT_EQ(lifecycle(), (std::vector<std::string>{"a:enter", "a.leaf:enter", "a:didFinish",
                                                   "a.leaf:didFinish"}));
  gLog.clear();
  {
    auto second = CCScene::node();
    second->addChild(makeObject<LogNode>("b"));
    director->replaceScene(second);
  }
  director->drawScene();
  EXPECT_EQ(lifecycle(), (std::vector<std::string>{"a:exit", "a.leaf:exit", "a:cleanup",
                                                   "a.leaf:cleanup", "b:enter", "b:didFinish"}));
  EXPECT_EQ(CCActionManager::sharedManager()->numberOfRunningActions(), 0u);
  director->end();
  CCDirector::purgeSharedDirector();
  // TearDown checks that every object of both scenes is gone.
}

TEST_F(CCNodeTest, OrientationNoticeReachesEveryNodeInOrder) {
  class OrientationProbe : public CCNode {
   public:
    explicit OrientationProbe(std::vector<int>* seen) : seen_(seen) {}
    void deviceOrientationDidChange(UIDeviceOrientation o) override {
      seen_->push_back(o * 10 + tag());
      CCNode::deviceOrientationDidChange(o);
    }
    std::vector<int>* seen_;
  };
  std::vector<int> seen;
  auto root = CCNode::node();
  auto a = makeObject<OrientationProbe>(&seen), b = makeObject<OrientationProbe>(&seen);
  auto aa = makeObject<OrientationProbe>(&seen);
  root->addChild(a, 0, 1);
  root->addChild(b, 0, 2);
  a->addChild(aa, 0, 3);
  root->deviceOrientationDidChange(UIDeviceOrientationLandscapeRight);
  EXPECT_EQ(seen, (std::vector<int>{41, 43, 42}));
}

TEST_F(CCNodeTest, ArrayKeepsOrderRetainsAndDoublesCapacity) {
  auto array = CCArray::arrayWithCapacity(2);
  auto a = CCNode::node(), b = CCNode::node(), c = CCNode::node();
  array->addObject(a);
  array->addObject(b);
  EXPECT_EQ(array->capacity(), 2u);
  array->insertObject(c, 1);
  EXPECT_EQ(array->capacity(), 4u);
  EXPECT_EQ(array->indexOfObject(c), 1u);
  EXPECT_EQ(a->retainCount(), 2u);
  array->removeObject(a);
  EXPECT_EQ(a->retainCount(), 1u);
  EXPECT_EQ(array->objectAtIndex(0), c.get());
  EXPECT_EQ(array->lastObject(), b.get());
  EXPECT_FALSE(array->containsObject(a));
  EXPECT_EQ(array->indexOfObject(a), CCArray::kNotFound);
  array->removeObject(a);  // not held: nothing happens
  EXPECT_EQ(array->count(), 2u);
  EXPECT_ASSERTION(array->objectAtIndex(2), "index out of range in objectAtIndex");
  array->removeAllObjects();
  EXPECT_EQ(b->retainCount(), 1u);
  EXPECT_EQ(array->lastObject(), nullptr);
}

}  // namespace
