#include "CC3Node.h"

#include <gtest/gtest.h>

#include <cmath>

#include "CC3LocalContentNode.h"
#include "CC3NodeAnimation.h"
#include "CC3NodeTestSupport.h"
#include "CC3NodeVisitor.h"
#include "CCActionInterval.h"
#include "CCActionManager.h"
#include "TestSupport.h"

namespace {

Ptr<CC3Node> named(const char* name) {
  return CC3Node::nodeWithName(std::string(name));
}

// root
//   a
//     a1 ("dup")
//   b ("dup")
//     b1 (unnamed)
struct Tree {
  Ptr<CC3Node> root = named("root"), a = named("a"), a1 = named("dup"), b = named("dup"),
               b1 = CC3Node::node();
  Tree() {
    root->addChild(a);
    a->addChild(a1);
    root->addChild(b);
    b->addChild(b1);
  }
};

// Records the descendant notices that reach the top of a tree.
class RecordingNode : public CC3Node {
 public:
  std::vector<CC3Node*> added, removed, resorted;
  void didAddDescendant(CC3Node* node) override { added.push_back(node); }
  void didRemoveDescendant(CC3Node* node) override { removed.push_back(node); }
  void descendantDidModifySequencingCriteria(CC3Node* node) override { resorted.push_back(node); }
};

}  // namespace

TEST(CC3NodeTest, TagsCountPerFamilyFromOne) {
  LeakScope leaks;
  CC3Identifiable::resetTagAllocation(CC3TagFamily::Node);
  CC3Identifiable::resetTagAllocation(CC3TagFamily::Texture);
  CC3Identifiable::resetTagAllocation(CC3TagFamily::Material);
  auto first = CC3Node::node();
  // Tags drawn for other families in between do not move the node counter.
  EXPECT_EQ(CC3Identifiable::nextTagInFamily(CC3TagFamily::Texture), 1u);
  EXPECT_EQ(CC3Identifiable::nextTagInFamily(CC3TagFamily::Material), 1u);
  auto second = CC3LocalContentNode::node();
  EXPECT_EQ(first->tag(), 1u);
  EXPECT_EQ(second->tag(), 2u);
  EXPECT_EQ(CC3Node::nodeWithTag(77)->tag(), 77u);

  std::int64_t live = CC3Identifiable::instanceCount();
  {
    auto third = CC3Node::node();
    EXPECT_EQ(CC3Identifiable::instanceCount(), live + 1);
  }
  EXPECT_EQ(CC3Identifiable::instanceCount(), live);
}

TEST(CC3NodeTest, AddingMovesTheChildAndRemovingTheLastDropsTheArray) {
  LeakScope leaks;
  auto top = makeObject<RecordingNode>();
  top->initWithName(std::string("top"));
  auto p1 = named("p1"), p2 = named("p2"), child = named("child");
  top->addChild(p1);
  top->addChild(p2);
  p1->addChild(child);
  EXPECT_EQ(child->parent(), p1.get());
  EXPECT_TRUE(child->isTransformDirty());

  p2->addChild(child);
  EXPECT_EQ(p1->children(), nullptr);  // not an empty array
  EXPECT_EQ(p1->childCount(), 0u);
  ASSERT_EQ(p2->childCount(), 1u);
  EXPECT_EQ(p2->childAt(0), child.get());
  EXPECT_EQ(child->parent(), p2.get());
  // The world hears of every addition and removal, wherever it happens below it.
  EXPECT_EQ(top->added, (std::vector<CC3Node*>{p1, p2, child, child}));
  EXPECT_EQ(top->removed, (std::vector<CC3Node*>{child}));

  // Removing something that is not a child does nothing.
  p1->removeChild(child);
  p1->removeChild(nullptr);
  EXPECT_EQ(child->parent(), p2.get());

  p2->removeAllChildren();
  EXPECT_EQ(child->parent(), nullptr);
  EXPECT_EQ(p2->children(), nullptr);

  auto content = CC3LocalContentNode::node();
  p1->addChild(content);
  top->checkDrawingOrder();
  EXPECT_EQ(top->resorted, (std::vector<CC3Node*>{content}));
}

TEST(CC3NodeTest, RemovedChildLivesToTheEndOfTheAutoreleaseScope) {
  LeakScope leaks;
  auto parent = CC3Node::node();
  CC3Node* child = nullptr;
  {
    auto held = CC3Node::node();
    child = held.get();
    parent->addChild(held);
  }
  ASSERT_EQ(child->retainCount(), 1u);  // the parent's reference only
  NSAutoreleasePool pool;
  parent->removeChild(child);
  EXPECT_EQ(child->retainCount(), 1u);  // now the pool's
  EXPECT_EQ(child->parent(), nullptr);
  std::int64_t live = NSObject::liveObjectCount();
  pool.drain();
  EXPECT_LT(NSObject::liveObjectCount(), live);
}

TEST(CC3NodeTest, AddingANullOrAnAncestorAsserts) {
  LeakScope leaks;
  auto parent = CC3Node::node(), child = CC3Node::node();
  EXPECT_ASSERTION(parent->addChild(nullptr), "Child CC3Node cannot be nil");
  parent->addChild(child);
  EXPECT_ASSERTION(child->addChild(parent), "A CC3Node cannot be added under itself");
  EXPECT_ASSERTION(parent->addChild(parent), "A CC3Node cannot be added under itself");
}

TEST(CC3NodeTest, LookupIsPreOrderAndNodesCloserToTheRootWin) {
  LeakScope leaks;
  Tree t;
  EXPECT_EQ(t.root->getNodeNamed(std::string("dup")), t.a1.get());  // a's subtree is searched first
  EXPECT_EQ(t.b->getNodeNamed(std::string("dup")), t.b.get());      // the receiver itself first
  EXPECT_EQ(t.root->getNodeNamed(std::nullopt), t.b1.get());        // the first unnamed node
  EXPECT_EQ(t.root->getNodeNamed(std::string("missing")), nullptr);
  EXPECT_EQ(t.root->getNodeTagged(t.b1->tag()), t.b1.get());
  EXPECT_EQ(t.root->getNodeTagged(0), nullptr);

  auto flat = t.root->flatten();
  std::vector<NSObject*> order(flat->begin(), flat->end());
  EXPECT_EQ(order, (std::vector<NSObject*>{t.root, t.a, t.a1, t.b, t.b1}));
}

TEST(CC3NodeTest, VisibilityAndTouchFollowAncestors) {
  LeakScope leaks;
  Tree t;
  t.a->setVisible(false);
  EXPECT_FALSE(t.a1->visible());
  EXPECT_TRUE(t.b1->visible());
  t.a->setVisible(true);
  EXPECT_TRUE(t.a1->visible());

  EXPECT_FALSE(t.a1->isTouchable());
  EXPECT_EQ(t.a1->touchableNode(), nullptr);
  t.a->setIsTouchEnabled(true);
  EXPECT_TRUE(t.a1->isTouchable());
  EXPECT_FALSE(t.a1->isTouchEnabled());
  EXPECT_EQ(t.a1->touchableNode(), t.a.get());
  t.a1->setIsTouchEnabled(true);
  EXPECT_EQ(t.a1->touchableNode(), t.a1.get());

  t.root->touchDisableAll();
  EXPECT_FALSE(t.a1->isTouchable());
  t.b->touchEnableAll();
  EXPECT_TRUE(t.b1->isTouchEnabled());
  EXPECT_FALSE(t.root->isTouchEnabled());
}

TEST(CC3NodeTest, FreshNodeDefaults) {
  LeakScope leaks;
  auto n = CC3Node::node();
  EXPECT_EQ(n->quaternion(), kCC3Vec4Zero);
  EXPECT_EQ(n->rotation(), kCC3Vec3Zero);
  EXPECT_EQ(n->scale(), kCC3Vec3Unit);
  EXPECT_TRUE(n->transformMatrix()->isIdentity());
  EXPECT_FALSE(n->isTransformDirty());
  EXPECT_TRUE(n->visible());
  EXPECT_TRUE(n->isAnimationEnabled());
  EXPECT_EQ(n->boundingVolume(), nullptr);
  CGPoint behind = n->projectedPosition();
  EXPECT_EQ(behind.x, -3.4028235e38f);
  EXPECT_EQ(behind.y, -3.4028235e38f);
  n->setProjectedLocation({10, 20, 5});
  EXPECT_EQ(n->projectedPosition().x, 10);
  EXPECT_EQ(n->projectedPosition().y, 20);
}

TEST(CC3NodeTest, UniformScaleAndRigidity) {
  LeakScope leaks;
  auto parent = CC3Node::node(), child = CC3Node::node();
  parent->addChild(child);
  child->setScale({2, 2, 2});
  EXPECT_FLOAT_EQ(child->uniformScale(), 2);
  child->setScale({1, 2, 2});
  EXPECT_NEAR(child->uniformScale(), 3 / 1.7320508f, 1e-6);
  EXPECT_FALSE(child->isUniformlyScaledLocally());
  child->setUniformScale(1);
  EXPECT_TRUE(child->isTransformRigid());
  parent->setScale({1, 1, 3});
  EXPECT_FALSE(child->isTransformRigid());
  EXPECT_TRUE(child->isUniformlyScaledLocally());
  EXPECT_FALSE(child->isUniformlyScaledGlobally());
}

TEST(CC3NodeTest, GlobalTransformIsParentTimesTranslateRotateScale) {
  LeakScope leaks;
  auto parent = CC3Node::node(), child = CC3Node::node();
  parent->addChild(child);
  parent->setLocation({10, 0, 0});
  parent->setRotation({0, 90, 0});
  parent->setScale({2, 2, 2});
  child->setLocation({0, 0, 1});
  child->setScale({1, 3, 1});
  EXPECT_EQ(child->globalLocation(), kCC3Vec3Zero);  // nothing is computed until a pass
  parent->updateTransformMatrices();

  EXPECT_FALSE(parent->isTransformDirty());
  EXPECT_FALSE(child->isTransformDirty());
  // (0, 0, 1) scaled by 2, turned 90 degrees about y to (2, 0, 0), moved by 10.
  EXPECT_VEC3_NEAR(child->globalLocation(), cc3v(12, 0, 0), 1e-5);
  EXPECT_VEC3_NEAR(child->globalScale(), cc3v(2, 6, 2), 0);
  EXPECT_VEC3_NEAR(child->globalRotation(), cc3v(0, 90, 0), 1e-4);
  // A local point scaled first, then rotated, then moved.
  EXPECT_VEC3_NEAR(child->transformMatrix()->transformLocation({1, 0, 0}), cc3v(12, 0, -2), 1e-5);
  // The inverse (general, since the tree is scaled) maps back.
  EXPECT_VEC3_NEAR(child->transformMatrixInverted()->transformLocation({12, 0, -2}), cc3v(1, 0, 0),
                   1e-5);

  // Only the changed node is dirty, but the pass rebuilds its subtree.
  parent->setLocation({0, 5, 0});
  EXPECT_FALSE(child->isTransformDirty());
  parent->updateTransformMatrices();
  EXPECT_VEC3_NEAR(child->globalLocation(), cc3v(2, 5, 0), 1e-5);
  // The cached inverse follows the rebuild.
  EXPECT_VEC3_NEAR(child->transformMatrixInverted()->transformLocation({2, 5, 0}), kCC3Vec3Zero,
                   1e-5);
}

TEST(CC3NodeTest, OnlyDirtySubtreesAreRebuilt) {
  class Counting : public CC3Node {
   public:
    int builds = 0;
    void buildTransformMatrix() override {
      ++builds;
      CC3Node::buildTransformMatrix();
    }
  };
  LeakScope leaks;
  auto make = [] {
    auto n = makeObject<Counting>();
    n->init();
    return n;
  };
  auto root = make(), left = make(), leftChild = make(), right = make();
  root->addChild(left);
  left->addChild(leftChild);
  root->addChild(right);
  root->setLocation({1, 0, 0});
  root->updateTransformMatrices();
  EXPECT_EQ(root->builds + left->builds + leftChild->builds + right->builds, 4);

  root->updateTransformMatrices();  // nothing changed: nothing rebuilt
  EXPECT_EQ(root->builds + left->builds + leftChild->builds + right->builds, 4);

  left->setRotation({0, 0, 90});
  root->updateTransformMatrices();
  EXPECT_EQ(root->builds, 1);
  EXPECT_EQ(right->builds, 1);
  EXPECT_EQ(left->builds, 2);
  EXPECT_EQ(leftChild->builds, 2);
  EXPECT_VEC3_NEAR(leftChild->globalRotation(), cc3v(0, 0, 90), 1e-4);
}

TEST(CC3NodeTest, RigidInverseAndLocalizedChildKeepWorldPlacement) {
  LeakScope leaks;
  auto holder = CC3Node::node(), item = CC3Node::node();
  holder->setLocation({5, 0, 0});
  holder->setRotation({0, 0, 90});
  holder->setScale({2, 2, 2});
  item->setLocation({5, 4, 3});
  item->setRotation({0, 0, 30});
  item->setScale({4, 4, 4});
  item->updateTransformMatrices();
  holder->updateTransformMatrices();

  holder->addAndLocalizeChild(item);
  holder->updateTransformMatrices();
  EXPECT_EQ(item->parent(), holder.get());
  EXPECT_VEC3_NEAR(item->globalLocation(), cc3v(5, 4, 3), 1e-4);
  EXPECT_VEC3_NEAR(item->globalScale(), cc3v(4, 4, 4), 1e-5);
  EXPECT_VEC3_NEAR(item->globalRotation(), cc3v(0, 0, 30), 1e-3);
  EXPECT_VEC3_NEAR(item->scale(), cc3v(2, 2, 2), 1e-6);

  auto rigid = CC3Node::node();
  rigid->setLocation({1, 2, 3});
  rigid->setRotation({0, 90, 0});
  rigid->updateTransformMatrices();
  EXPECT_VEC3_NEAR(rigid->transformMatrixInverted()->transformLocation({1, 2, 3}), kCC3Vec3Zero,
                   1e-5);
}

TEST(CC3NodeTest, UpdatePassCallsHooksAroundTheTransform) {
  // A node that records what its update sees of itself and its parent.
  class Probe : public CC3Node {
   public:
    std::vector<std::string>* log = nullptr;
    void updateBeforeChildren(CC3NodeUpdatingVisitor*) override {
      log->push_back("before " + *name() + (isTransformDirty() ? " dirty" : " clean"));
      // Moving here still counts in this pass.
      setLocation({1, 0, 0});
    }
    void update(ccSeconds dt) override { log->push_back("update " + std::to_string(dt)); }
    void updateAfterChildren(CC3NodeUpdatingVisitor*) override {
      log->push_back("after " + *name());
    }
  };
  LeakScope leaks;
  std::vector<std::string> log;
  auto top = makeObject<Probe>(), below = makeObject<Probe>();
  top->initWithName(std::string("top"));
  below->initWithName(std::string("below"));
  top->log = below->log = &log;
  top->addChild(below);
  auto visitor = CC3NodeUpdatingVisitor::visitorWithWorld(top, 0.25f);
  top->updateWithVisitor(visitor);
  EXPECT_EQ(log,
            (std::vector<std::string>{"before top clean", "update 0.250000", "before below dirty",
                                      "update 0.250000", "after below", "after top"}));
  EXPECT_VEC3_NEAR(below->globalLocation(), cc3v(2, 0, 0), 0);
}

TEST(CC3NodeTest, CopiesTakeFreshTagsAndCopyTheirChildren) {
  LeakScope leaks;
  Tree t;
  t.a->setLocation({1, 2, 3});
  t.a->setRotation({0, 45, 0});
  t.a->setIsTouchEnabled(true);
  t.a->setVisible(false);
  t.a->setTextureWidth(12.5f);
  auto anim = CC3NodeAnimation::animationWithFrameCount(3);
  t.a->setAnimation(anim);
  auto volume = CC3NodeSphericalBoundingVolume::boundingVolume();
  volume->setRadius(4);
  t.a->setBoundingVolume(volume);

  auto copy = t.a->copyWithName(std::string("copy"));
  EXPECT_EQ(*copy->name(), "copy");
  EXPECT_NE(copy->tag(), t.a->tag());
  EXPECT_EQ(copy->location(), t.a->location());
  EXPECT_VEC3_NEAR(copy->rotation(), cc3v(0, 45, 0), 1e-6);
  EXPECT_NE(copy->rotator(), t.a->rotator());
  EXPECT_TRUE(copy->isTouchEnabled());
  EXPECT_FALSE(copy->visible());
  EXPECT_EQ(copy->textureWidth(), 12.5f);
  EXPECT_EQ(copy->animation(), anim.get());  // shared
  ASSERT_NE(copy->boundingVolume(), nullptr);
  EXPECT_NE(copy->boundingVolume(), volume.get());
  EXPECT_EQ(copy->boundingVolume()->node(), copy.get());
  EXPECT_EQ(static_cast<CC3NodeSphericalBoundingVolume*>(copy->boundingVolume())->radius(), 4);
  ASSERT_EQ(copy->childCount(), 1u);
  EXPECT_NE(copy->childAt(0), t.a1.get());
  EXPECT_EQ(copy->childAt(0)->name(), t.a1->name());
  EXPECT_EQ(copy->childAt(0)->parent(), copy.get());
  EXPECT_EQ(copy->parent(), nullptr);
  EXPECT_EQ(t.a->childCount(), 1u);  // the original keeps its own

  // The copy of a local-content node is one too.
  auto content = CC3LocalContentNode::nodeWithName(std::string("pic"));
  EXPECT_TRUE(content->copy()->hasLocalContent());
  // A copy owned by the pool goes with it.
  t.root->copyAutoreleased();
}

TEST(CC3NodeTest, ColourOfAPlainNodeIsTheMeanOfItsChildren) {
  // A leaf that keeps its own colour, as a mesh node keeps it in its material.
  class Leaf : public CC3Node {
   public:
    ccColor3B c{0, 0, 0};
    GLubyte o = 0;
    bool opaque = true;
    ccColor4F ambient{0, 0, 0, 0};
    ccColor3B color() const override { return c; }
    void setColor(ccColor3B v) override { c = v; }
    GLubyte opacity() const override { return o; }
    void setOpacity(GLubyte v) override { o = v; }
    bool isOpaque() const override { return opaque; }
    void setIsOpaque(bool v) override { opaque = v; }
    ccColor4F ambientColor() const override { return ambient; }
    void setAmbientColor(ccColor4F v) override { ambient = v; }
  };
  LeakScope leaks;
  auto group = CC3Node::node();
  EXPECT_EQ(group->color(), ccc3(0, 0, 0));
  EXPECT_EQ(group->opacity(), 0);
  EXPECT_TRUE(group->isOpaque());
  auto l1 = makeObject<Leaf>(), l2 = makeObject<Leaf>();
  l1->init();
  l2->init();
  group->addChild(l1);
  group->addChild(l2);
  l1->c = {10, 255, 0};
  l2->c = {11, 0, 3};
  l1->o = 255;
  l2->o = 0;
  l1->ambient = {0.25f, 0, 1, 1};
  l2->ambient = {0.75f, 0, 0, 1};
  EXPECT_EQ(group->color(), ccc3(10, 127, 1));  // truncating means
  EXPECT_EQ(group->opacity(), 127);
  EXPECT_EQ(group->ambientColor(), (ccColor4F{0.5f, 0, 0.5f, 1}));
  l2->opaque = false;
  EXPECT_FALSE(group->isOpaque());

  group->setOpacity(9);
  group->setColor({1, 2, 3});
  group->setIsOpaque(true);
  EXPECT_EQ(l1->o, 9);
  EXPECT_EQ(l2->c, ccc3(1, 2, 3));
  EXPECT_TRUE(l2->opaque);
}

TEST(CC3NodeTest, ActionsRunThroughTheSharedManagerAndHoldTheNode) {
  CCActionManager::sharedManager();  // a lasting singleton, not a leak
  LeakScope leaks;
  auto n = CC3Node::node();
  EXPECT_ASSERTION(n->runAction(nullptr), "Argument must be non-nil");
  EXPECT_ASSERTION(n->stopActionByTag(kCCActionTagInvalid), "Invalid tag");
  EXPECT_ASSERTION(n->getActionByTag(kCCActionTagInvalid), "Invalid tag");

  auto delay = CCDelayTime::actionWithDuration(1);
  delay->setTag(5);
  unsigned held = n->retainCount();
  n->runAction(delay);
  EXPECT_EQ(n->retainCount(), held + 1);  // the manager keeps the target alive
  EXPECT_EQ(n->numberOfRunningActions(), 1u);
  EXPECT_EQ(n->getActionByTag(5), delay.get());
  n->stopActionByTag(5);
  EXPECT_EQ(n->numberOfRunningActions(), 0u);
  n->runAction(CCDelayTime::actionWithDuration(1));
  n->stopAllActions();
  EXPECT_EQ(n->numberOfRunningActions(), 0u);
  EXPECT_EQ(n->retainCount(), held);
}

TEST(CC3NodeTest, DrawingVisitsVisibleNodesWithLocalContent) {
  // Records drawing without touching GL.
  class Drawn : public CC3LocalContentNode {
   public:
    std::vector<GLuint>* log = nullptr;
    void transformAndDrawWithVisitor(CC3NodeDrawingVisitor*) override { log->push_back(tag()); }
  };
  LeakScope leaks;
  std::vector<GLuint> log;
  auto make = [&](GLuint tag) {
    auto d = makeObject<Drawn>();
    d->initWithTag(tag);
    d->log = &log;
    return d;
  };
  auto group = CC3Node::nodeWithTag(1);
  auto d2 = make(2), d3 = make(3), d4 = make(4);
  group->addChild(d2);
  d2->addChild(d3);
  group->addChild(d4);
  auto visitor = CC3NodeDrawingVisitor::visitor();
  EXPECT_ASSERTION(group->drawWithVisitor(nullptr), "CC3Node drawing visitor must not be nil");
  group->drawWithVisitor(visitor);
  EXPECT_EQ(log, (std::vector<GLuint>{2, 3, 4}));

  log.clear();
  d2->setVisible(false);  // hides its subtree too
  group->drawWithVisitor(visitor);
  EXPECT_EQ(log, (std::vector<GLuint>{4}));

  log.clear();
  d2->setVisible(true);
  visitor->setShouldVisitChildren(false);
  group->drawWithVisitor(visitor);
  d2->drawWithVisitor(visitor);
  EXPECT_EQ(log, (std::vector<GLuint>{2}));
}

TEST(CC3NodeTest, AnimationReachesTheWholeSubtree) {
  LeakScope leaks;
  Tree t;
  auto anim = CC3ArrayNodeAnimation::animationWithFrameCount(2);
  CC3Vec3* locations = anim->allocateLocations();
  locations[1] = {0, 10, 0};
  t.a1->setAnimation(anim);
  EXPECT_TRUE(t.root->containsAnimation());
  EXPECT_FALSE(t.b->containsAnimation());
  t.root->establishAnimationFrameAt(1);
  EXPECT_EQ(t.a1->location(), cc3v(0, 10, 0));
  t.root->disableAllAnimation();
  t.root->establishAnimationFrameAt(0);
  EXPECT_EQ(t.a1->location(), cc3v(0, 10, 0));
  t.a1->enableAnimation();
  t.root->establishAnimationFrameAt(0);
  EXPECT_EQ(t.a1->location(), kCC3Vec3Zero);
}

TEST(CC3NodeTest, Descriptions) {
  LeakScope leaks;
  auto n = CC3Node::nodeWithTag(7);
  EXPECT_EQ(n->description(), "CC3Node Unnamed-7");
  n->setName(std::string("Lamp"));
  EXPECT_EQ(n->description(), "CC3Node Lamp-7");
  n->setLocation({1, 2, 3});
  EXPECT_EQ(n->fullDescription(),
            "CC3Node Lamp-7 location: (1.000, 2.000, 3.000), global: (0.000, 0.000, 0.000), "
            "CC3Rotator: (0.000, 0.000, 0.000), quaternion: (0.000, 0.000, 0.000, 0.000), "
            "scale: (1.000, 1.000, 1.000), projected to: {-3.40282e+38, -3.40282e+38}, "
            "bounded by: (null)");
}

TEST(CC3NodeTest, TreesBuiltCopiedAndTornDownLeaveNothingBehind) {
  std::int64_t before = NSObject::liveObjectCount();
  std::int64_t identifiables = CC3Identifiable::instanceCount();
  {
    NSAutoreleasePool pool;
    auto root = CC3Node::node();
    for (int i = 0; i < 5; ++i) {
      auto child = CC3LocalContentNode::node();
      child->setBoundingVolume(CC3NodeBoundingBoxVolume::boundingVolume());
      for (int j = 0; j < 3; ++j) child->addChild(CC3Node::node());
      root->addChild(child);
    }
    root->childAt(0)->setAnimation(CC3NodeAnimation::animationWithFrameCount(1));
    root->updateTransformMatrices();
    root->childAt(1)->transformMatrixInverted();
    root->childAt(1)->globalRotationMatrix();
    auto copy = root->copy();
    copy->childAt(2)->addChild(root->childAt(3));  // moves between trees
    root->childAt(0)->remove();
    copy->removeAllChildren();
    pool.drain();
  }
  EXPECT_EQ(NSObject::liveObjectCount(), before);
  EXPECT_EQ(CC3Identifiable::instanceCount(), identifiables);
}
