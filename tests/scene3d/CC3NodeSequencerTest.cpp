#include "CC3NodeSequencer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CC3Camera.h"
#include "CC3LocalContentNode.h"
#include "CC3MeshNode.h"
#include "CC3NodeTestSupport.h"
#include "CC3World.h"

namespace {

// Draws nothing, but has content, a bounding volume and a settable opacity.
class Content : public CC3LocalContentNode {
 public:
  static Ptr<Content> at(const std::string& name, CC3Vec3 location, bool opaque) {
    auto node = makeObject<Content>();
    node->initWithName(name);
    node->opaque = opaque;
    node->setBoundingVolume(CC3NodeBoundingVolume::boundingVolume());
    node->setLocation(location);
    node->updateTransformMatrices();  // the volume's centre is known before it is added
    return node;
  }
  bool isOpaque() const override { return opaque; }
  void setIsOpaque(bool value) override { opaque = value; }
  bool opaque = true;
};

std::vector<std::string> namesOf(CCArray* nodes) {
  std::vector<std::string> names;
  for (NSObject* n : *nodes) names.push_back(static_cast<CC3Node*>(n)->name().value_or("?"));
  return names;
}

using Names = std::vector<std::string>;

// A world with a camera at the origin and a known viewport, so that it can
// run update passes.
class SequencerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    world = CC3World::world();
    camera = CC3Camera::nodeWithName("Camera");
    world->addChild(camera);
    world->viewportManager()->updateBounds(CGRectMake(0, UIDeviceOrientationUnknown, 64, 64),
                                           UIDeviceOrientationPortrait, CGSizeMake(64, 64), 1);
    world->updateTransformMatrices();
  }
  void TearDown() override {
    camera = nullptr;
    world = nullptr;
    NSAutoreleasePool::current().drain();
  }
  Names sequence() const { return namesOf(world->drawingSequence()); }

  Ptr<CC3World> world;
  Ptr<CC3Camera> camera;
};

}  // namespace

TEST_F(SequencerTest, TranslucentNodesRunFarthestFirstAfterTheOpaqueOnes) {
  world->addChild(Content::at("t100", {0, 0, -10}, false));
  world->addChild(Content::at("o1", {0, 0, -50}, true));
  world->addChild(Content::at("t400", {0, 0, -20}, false));
  world->addChild(Content::at("o2", {0, 0, -1}, true));
  world->addChild(Content::at("t225", {0, 0, -15}, false));
  // Opaque nodes keep the order of adding, wherever they stand.
  EXPECT_EQ(sequence(), (Names{"o1", "o2", "t400", "t225", "t100"}));
  auto* t225 = world->getNodeNamed("t225");
  EXPECT_FLOAT_EQ(t225->boundingVolume()->cameraDistanceSquared(), 225);

  // A node at the same distance as one held goes before it.
  world->addChild(Content::at("t225b", {0, 15, 0}, false));
  EXPECT_EQ(sequence(), (Names{"o1", "o2", "t400", "t225b", "t225", "t100"}));

  // Nodes without content or without a volume: the first is not sequenced,
  // the second goes to the end of its group.
  auto group = CC3Node::nodeWithName("group");
  auto loose = makeObject<Content>();
  loose->initWithName("loose");
  loose->opaque = false;
  group->addChild(loose);
  world->addChild(group);
  EXPECT_EQ(sequence(), (Names{"o1", "o2", "t400", "t225b", "t225", "t100", "loose"}));

  // Removing a subtree takes its nodes out of the sequence.
  group->remove();
  world->getNodeNamed("o1")->remove();
  EXPECT_EQ(sequence(), (Names{"o2", "t400", "t225b", "t225", "t100"}));
}

TEST_F(SequencerTest, MovedAndChangedNodesAreReSortedByTheNextUpdatePass) {
  world->play();
  world->addChild(Content::at("near", {0, 0, -10}, false));
  world->addChild(Content::at("far", {0, 0, -20}, false));
  world->addChild(Content::at("solid", {0, 0, -5}, true));
  ASSERT_EQ(sequence(), (Names{"solid", "far", "near"}));

  // Moved behind the others: the sequence changes only in the update pass.
  world->getNodeNamed("near")->setLocation({0, 0, -30});
  EXPECT_EQ(sequence(), (Names{"solid", "far", "near"}));
  world->updateWorld(0.01f);
  EXPECT_EQ(sequence(), (Names{"solid", "near", "far"}));

  // Made translucent: still drawn with the opaque group until the next pass,
  // then sorted among the translucent nodes (it is the nearest).
  world->getNodeNamed("solid")->setIsOpaque(false);
  EXPECT_EQ(sequence(), (Names{"solid", "near", "far"}));
  world->updateWorld(0.01f);
  EXPECT_EQ(sequence(), (Names{"near", "far", "solid"}));
  auto* groups = static_cast<CC3BTreeNodeSequencer*>(world->drawingSequencer());
  EXPECT_EQ(groups->sequencers()[0]->nodes()->count(), 0u);

  // And back.
  world->getNodeNamed("far")->setIsOpaque(true);
  world->updateWorld(0.01f);
  EXPECT_EQ(sequence(), (Names{"far", "near", "solid"}));

  // A node asking for its order to be checked is re-sorted at once.
  world->getNodeNamed("solid")->setLocation({0, 0, -100});
  world->updateTransformMatrices();
  world->getNodeNamed("solid")->checkDrawingOrder();
  EXPECT_EQ(sequence(), (Names{"far", "solid", "near"}));

  // With sequence updates off nothing moves.
  world->drawingSequencer()->setAllowSequenceUpdates(false);
  world->getNodeNamed("solid")->setLocation({0, 0, -1});
  world->updateWorld(0.01f);
  EXPECT_EQ(sequence(), (Names{"far", "solid", "near"}));
}

TEST_F(SequencerTest, NearFirstRunsOpaqueNodesNearestFirstAndKeepsThemSorted) {
  world->setDrawingSequencer(CC3BTreeNodeSequencer::sequencerLocalContentOpaqueNearFirst());
  world->play();
  world->addChild(Content::at("o50", {0, 0, -50}, true));
  world->addChild(Content::at("t10", {0, 0, -10}, false));
  world->addChild(Content::at("o1", {0, 0, -1}, true));
  world->addChild(Content::at("t20", {0, 0, -20}, false));
  world->addChild(Content::at("o20", {0, 0, -20}, true));
  // Translucent nodes still farthest first, after every opaque one.
  EXPECT_EQ(sequence(), (Names{"o1", "o20", "o50", "t20", "t10"}));
  // A node at the same distance as one held goes before it.
  world->addChild(Content::at("o20b", {0, 20, 0}, true));
  EXPECT_EQ(sequence(), (Names{"o1", "o20b", "o20", "o50", "t20", "t10"}));

  world->getNodeNamed("o20b")->remove();

  // Moved, an opaque node is re-sorted by the next update pass.
  world->getNodeNamed("o1")->setLocation({0, 0, -30});
  world->updateWorld(0.01f);
  EXPECT_EQ(sequence(), (Names{"o20", "o1", "o50", "t20", "t10"}));
  world->getNodeNamed("o50")->setLocation({0, 0, -2});
  world->updateWorld(0.01f);
  EXPECT_EQ(sequence(), (Names{"o50", "o20", "o1", "t20", "t10"}));
}

TEST_F(SequencerTest, WithoutACameraNodesKeepTheirPlaces) {
  camera->remove();
  EXPECT_EQ(world->activeCamera(), nullptr);
  world->play();
  world->addChild(Content::at("a", {0, 0, -10}, false));
  world->addChild(Content::at("b", {0, 0, -20}, false));
  // Unmeasured, both count as distance 0, and the later goes first.
  EXPECT_EQ(sequence(), (Names{"b", "a"}));
  world->getNodeNamed("a")->setLocation({0, 0, -100});
  world->updateWorld(0.01f);
  EXPECT_EQ(sequence(), (Names{"b", "a"}));
}

TEST_F(SequencerTest, SettingASequencerLaterFeedsItTheNodesAlreadyThere) {
  world->setDrawSequencer(nullptr);
  EXPECT_FALSE(world->isUsingDrawingSequence());
  world->addChild(Content::at("t1", {0, 0, -10}, false));
  world->addChild(Content::at("o1", {0, 0, -10}, true));
  EXPECT_EQ(world->drawingSequence()->count(), 0u);

  // Storing it alone does not feed it; installing it does.
  world->setDrawingSequencer(CC3BTreeNodeSequencer::sequencerLocalContentOpaqueFirst());
  EXPECT_EQ(world->drawingSequencer()->nodes()->count(), 0u);
  world->setDrawSequencer(CC3BTreeNodeSequencer::sequencerLocalContentOpaqueFirst());
  EXPECT_EQ(sequence(), (Names{"o1", "t1"}));
}

TEST_F(SequencerTest, GroupingByMeshKeepsSharedMeshesTogether) {
  world->setDrawingSequencer(CC3BTreeNodeSequencer::sequencerLocalContentOpaqueFirstGroupMeshes());
  auto meshA = CC3MeshModel::mesh(), meshB = CC3MeshModel::mesh(), meshC = CC3MeshModel::mesh();
  auto add = [&](const std::string& name, CC3MeshModel* mesh) {
    auto node = CC3MeshNode::nodeWithName(name);
    node->setMeshModel(mesh);
    world->addChild(node);
  };
  add("a1", meshA);
  add("b1", meshB);
  add("a2", meshA);
  add("c1", meshC);
  add("b2", meshB);
  add("a3", meshA);
  EXPECT_EQ(sequence(), (Names{"a1", "a2", "a3", "b1", "b2", "c1"}));

  // Nodes that are not mesh nodes are not taken by the opaque group.
  world->addChild(Content::at("plain", {0, 0, -1}, true));
  EXPECT_EQ(sequence().size(), 6u);
}

TEST(CC3NodeSequencer, OnlyContentIsTakenAndTheDescriptionListsEachGroup) {
  LeakScope leaks;
  auto content = Content::at("c", kCC3Vec3Zero, false);
  auto plain = CC3Node::nodeWithName("p");
  // A sequencer without an evaluator takes nothing.
  EXPECT_FALSE(CC3NodeArraySequencer::sequencerWithEvaluator(nullptr)->add(content, nullptr));

  auto seq = CC3BTreeNodeSequencer::sequencerLocalContentOpaqueFirst();
  EXPECT_TRUE(seq->add(content, nullptr));
  EXPECT_FALSE(seq->add(plain, nullptr));
  EXPECT_EQ(seq->fullDescription(),
            "CC3BTreeNodeSequencer\nCC3NodeArraySequencer ()\nCC3NodeArrayZOrderSequencer (" +
                content->description() + ")");
  EXPECT_TRUE(seq->remove(content, nullptr));
  EXPECT_FALSE(seq->remove(content, nullptr));
}
