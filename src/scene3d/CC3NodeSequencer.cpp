#include "CC3NodeSequencer.h"

#include <algorithm>
#include <limits>

#include "CC3BoundingVolumes.h"
#include "CC3Camera.h"
#include "CC3MeshNode.h"
#include "CC3Node.h"
#include "CC3Texture.h"
#include "CC3World.h"

// MARK: evaluators

bool CC3LocalContentNodeEvaluator::evaluate(CC3Node* node) {
  return node && node->hasLocalContent() && evaluateLocalContentNode(node);
}

bool CC3OpaqueNodeAcceptor::evaluateLocalContentNode(CC3Node* node) {
  return node->isOpaque();
}

bool CC3TranslucentNodeAcceptor::evaluateLocalContentNode(CC3Node* node) {
  return !node->isOpaque();
}

// MARK: visitors

Ptr<CC3NodeSequencerVisitor> CC3NodeSequencerVisitor::visitorWithWorld(CC3World* world) {
  auto v = makeObject<CC3NodeSequencerVisitor>();
  v->setWorld(world);
  return v;
}

Ptr<CC3NodeSequencerMisplacedNodeVisitor> CC3NodeSequencerMisplacedNodeVisitor::visitorWithWorld(
    CC3World* world) {
  auto v = makeObject<CC3NodeSequencerMisplacedNodeVisitor>();
  v->setWorld(world);
  return v;
}

void CC3NodeSequencerMisplacedNodeVisitor::addMisplacedNode(CC3Node* node) {
  misplacedNodes_.emplace_back(node);
}

void CC3NodeSequencerMisplacedNodeVisitor::addMisplacedNodes(
    const std::vector<Ptr<CC3Node>>& nodes) {
  misplacedNodes_.insert(misplacedNodes_.end(), nodes.begin(), nodes.end());
}

// MARK: base sequencer

Ptr<CC3NodeSequencer> CC3NodeSequencer::sequencer() {
  return sequencerWithEvaluator(nullptr);
}

Ptr<CC3NodeSequencer> CC3NodeSequencer::sequencerWithEvaluator(CC3NodeEvaluator* evaluator) {
  auto s = makeObject<CC3NodeSequencer>();
  s->initWithEvaluator(evaluator);
  return s;
}

bool CC3NodeSequencer::initWithEvaluator(CC3NodeEvaluator* evaluator) {
  evaluator_ = evaluator;
  allowSequenceUpdates_ = true;
  return true;
}

bool CC3NodeSequencer::updateSequenceWithVisitor(CC3NodeSequencerMisplacedNodeVisitor* visitor) {
  removeMisplacedNodesWithVisitor(visitor);
  if (!visitor->hasMisplacedNodes()) return false;
  // A copy: re-adding must not walk a list that the visitor may still grow.
  std::vector<Ptr<CC3Node>> misplaced = visitor->misplacedNodes();
  for (const auto& node : misplaced) add(node.get(), visitor);
  return true;
}

std::string CC3NodeSequencer::fullDescription() const {
  std::string text = description() + " (";
  Ptr<CCArray> held = nodes();
  bool first = true;
  for (NSObject* node : *held) {
    text += (first ? "" : ", ") + node->description();
    first = false;
  }
  return text + ")";
}

// MARK: B-tree

namespace {
template <class T>
Ptr<T> makeSequencer(CC3NodeEvaluator* evaluator) {
  auto s = makeObject<T>();
  s->initWithEvaluator(evaluator);
  return s;
}
}  // namespace

Ptr<CC3BTreeNodeSequencer> CC3BTreeNodeSequencer::sequencerWithEvaluator(
    CC3NodeEvaluator* evaluator) {
  return makeSequencer<CC3BTreeNodeSequencer>(evaluator);
}

Ptr<CC3BTreeNodeSequencer> CC3BTreeNodeSequencer::sequencerLocalContentOpaqueFirst() {
  auto top = sequencerWithEvaluator(CC3LocalContentNodeAcceptor::evaluator());
  top->addSequencer(
      CC3NodeArraySequencer::sequencerWithEvaluator(CC3OpaqueNodeAcceptor::evaluator()));
  top->addSequencer(
      CC3NodeArrayZOrderSequencer::sequencerWithEvaluator(CC3TranslucentNodeAcceptor::evaluator()));
  return top;
}

Ptr<CC3BTreeNodeSequencer> CC3BTreeNodeSequencer::sequencerLocalContentOpaqueFirstGroupMeshes() {
  auto top = sequencerWithEvaluator(CC3LocalContentNodeAcceptor::evaluator());
  top->addSequencer(CC3MeshNodeArraySequencerGroupMeshes::sequencerWithEvaluator(
      CC3OpaqueNodeAcceptor::evaluator()));
  top->addSequencer(
      CC3NodeArrayZOrderSequencer::sequencerWithEvaluator(CC3TranslucentNodeAcceptor::evaluator()));
  return top;
}

Ptr<CC3BTreeNodeSequencer> CC3BTreeNodeSequencer::sequencerLocalContentOpaqueFirstGroupTextures() {
  auto top = sequencerWithEvaluator(CC3LocalContentNodeAcceptor::evaluator());
  top->addSequencer(CC3MeshNodeArraySequencerGroupTextures::sequencerWithEvaluator(
      CC3OpaqueNodeAcceptor::evaluator()));
  top->addSequencer(
      CC3NodeArrayZOrderSequencer::sequencerWithEvaluator(CC3TranslucentNodeAcceptor::evaluator()));
  return top;
}

Ptr<CC3BTreeNodeSequencer> CC3BTreeNodeSequencer::sequencerLocalContentOpaqueNearFirst() {
  auto top = sequencerWithEvaluator(CC3LocalContentNodeAcceptor::evaluator());
  top->addSequencer(
      CC3NodeArrayNearFirstSequencer::sequencerWithEvaluator(CC3OpaqueNodeAcceptor::evaluator()));
  top->addSequencer(
      CC3NodeArrayZOrderSequencer::sequencerWithEvaluator(CC3TranslucentNodeAcceptor::evaluator()));
  return top;
}

void CC3BTreeNodeSequencer::addSequencer(CC3NodeSequencer* sequencer) {
  if (sequencer) sequencers_.emplace_back(sequencer);
}

void CC3BTreeNodeSequencer::setAllowSequenceUpdates(bool allow) {
  CC3NodeSequencer::setAllowSequenceUpdates(allow);
  for (const auto& s : sequencers_) s->setAllowSequenceUpdates(allow);
}

bool CC3BTreeNodeSequencer::add(CC3Node* node, CC3NodeSequencerVisitor* visitor) {
  if (!evaluatorAccepts(node)) return false;
  for (const auto& s : sequencers_)
    if (s->add(node, visitor)) return true;
  return false;
}

bool CC3BTreeNodeSequencer::remove(CC3Node* node, CC3NodeSequencerVisitor* visitor) {
  for (const auto& s : sequencers_)
    if (s->remove(node, visitor)) return true;
  return false;
}

Ptr<CCArray> CC3BTreeNodeSequencer::nodes() const {
  auto array = CCArray::array();
  appendNodesTo(array);
  return array;
}

void CC3BTreeNodeSequencer::appendNodesTo(CCArray* array) const {
  for (const auto& s : sequencers_) s->appendNodesTo(array);
}

bool CC3BTreeNodeSequencer::containsNode(CC3Node* node) const {
  return std::any_of(sequencers_.begin(), sequencers_.end(),
                     [node](const auto& s) { return s->containsNode(node); });
}

void CC3BTreeNodeSequencer::removeMisplacedNodesWithVisitor(
    CC3NodeSequencerMisplacedNodeVisitor* visitor) {
  for (const auto& s : sequencers_) s->removeMisplacedNodesWithVisitor(visitor);
}

std::string CC3BTreeNodeSequencer::fullDescription() const {
  std::string text = description();
  for (const auto& s : sequencers_) text += "\n" + s->fullDescription();
  return text;
}

// MARK: array

Ptr<CC3NodeArraySequencer> CC3NodeArraySequencer::sequencerWithEvaluator(
    CC3NodeEvaluator* evaluator) {
  return makeSequencer<CC3NodeArraySequencer>(evaluator);
}

bool CC3NodeArraySequencer::add(CC3Node* node, CC3NodeSequencerVisitor* visitor) {
  if (!evaluatorAccepts(node)) return false;
  prepareToAdd(node, visitor);
  for (std::size_t i = 0; i < nodes_.size(); ++i) {
    CC3Node* prev = i > 0 ? nodes_[i - 1].get() : nullptr;
    if (shouldInsertNode(node, prev, nodes_[i].get(), visitor)) {
      nodes_.insert(nodes_.begin() + std::ptrdiff_t(i), Ptr<CC3Node>(node));
      return true;
    }
  }
  nodes_.emplace_back(node);
  return true;
}

bool CC3NodeArraySequencer::shouldInsertNode(CC3Node*, CC3Node*, CC3Node*,
                                             CC3NodeSequencerVisitor*) {
  return false;
}

bool CC3NodeArraySequencer::remove(CC3Node* node, CC3NodeSequencerVisitor*) {
  auto it = std::find_if(nodes_.begin(), nodes_.end(),
                         [node](const Ptr<CC3Node>& held) { return held.get() == node; });
  if (it == nodes_.end()) return false;
  nodes_.erase(it);
  return true;
}

Ptr<CCArray> CC3NodeArraySequencer::nodes() const {
  auto array = CCArray::arrayWithCapacity(nodes_.size());
  appendNodesTo(array);
  return array;
}

void CC3NodeArraySequencer::appendNodesTo(CCArray* array) const {
  for (const auto& node : nodes_) array->addObject(node.get());
}

bool CC3NodeArraySequencer::containsNode(CC3Node* node) const {
  return std::any_of(nodes_.begin(), nodes_.end(),
                     [node](const Ptr<CC3Node>& held) { return held.get() == node; });
}

void CC3NodeArraySequencer::removeMisplacedNodesWithVisitor(
    CC3NodeSequencerMisplacedNodeVisitor* visitor) {
  if (!allowSequenceUpdates_ || !canReportMisplacedNodes(visitor)) return;
  float limit = std::numeric_limits<float>::max();
  std::vector<Ptr<CC3Node>> kept;
  kept.reserve(nodes_.size());
  for (auto& node : nodes_) {
    if (isMisplaced(node.get(), visitor, limit))
      visitor->addMisplacedNode(node.get());
    else
      kept.push_back(std::move(node));
  }
  nodes_ = std::move(kept);
}

bool CC3NodeArraySequencer::isMisplaced(CC3Node* node, CC3NodeSequencerVisitor*, float&) {
  return !evaluatorAccepts(node);
}

// MARK: Z order

namespace {
// Stores the node's squared distance from the active camera on its bounding
// volume; false when there is no camera or no volume to measure.
bool measureCameraDistance(CC3Node* node, CC3NodeSequencerVisitor* visitor) {
  CC3World* world = visitor ? visitor->world() : nullptr;
  CC3Camera* camera = world ? world->activeCamera() : nullptr;
  CC3NodeBoundingVolume* volume = node->boundingVolume();
  if (!camera || !volume) return false;
  CC3Vec3 d = CC3Vec3Difference(volume->globalCenterOfGeometry(), camera->globalLocation());
  volume->setCameraDistanceSquared(CC3Vec3Dot(d, d));
  return true;
}
}  // namespace

Ptr<CC3NodeArrayZOrderSequencer> CC3NodeArrayZOrderSequencer::sequencerWithEvaluator(
    CC3NodeEvaluator* evaluator) {
  return makeSequencer<CC3NodeArrayZOrderSequencer>(evaluator);
}

void CC3NodeArrayZOrderSequencer::prepareToAdd(CC3Node* node, CC3NodeSequencerVisitor* visitor) {
  measureCameraDistance(node, visitor);
}

bool CC3NodeArrayZOrderSequencer::shouldInsertNode(CC3Node* node, CC3Node*, CC3Node* next,
                                                   CC3NodeSequencerVisitor*) {
  CC3NodeBoundingVolume* mine = node->boundingVolume();
  CC3NodeBoundingVolume* theirs = next->boundingVolume();
  return mine && theirs && mine->cameraDistanceSquared() >= theirs->cameraDistanceSquared();
}

bool CC3NodeArrayZOrderSequencer::canReportMisplacedNodes(CC3NodeSequencerVisitor* visitor) const {
  CC3World* world = visitor ? visitor->world() : nullptr;
  return world && world->activeCamera();
}

bool CC3NodeArrayZOrderSequencer::isMisplaced(CC3Node* node, CC3NodeSequencerVisitor* visitor,
                                              float& limit) {
  bool measured = measureCameraDistance(node, visitor);
  if (evaluator_ && !evaluator_->evaluate(node)) return true;
  if (!measured) return true;  // no volume: it goes to the end again
  float distance = node->boundingVolume()->cameraDistanceSquared();
  if (distance > limit) return true;
  limit = distance;
  return false;
}

// MARK: near first

Ptr<CC3NodeArrayNearFirstSequencer> CC3NodeArrayNearFirstSequencer::sequencerWithEvaluator(
    CC3NodeEvaluator* evaluator) {
  return makeSequencer<CC3NodeArrayNearFirstSequencer>(evaluator);
}

bool CC3NodeArrayNearFirstSequencer::shouldInsertNode(CC3Node* node, CC3Node*, CC3Node* next,
                                                      CC3NodeSequencerVisitor*) {
  CC3NodeBoundingVolume* mine = node->boundingVolume();
  CC3NodeBoundingVolume* theirs = next->boundingVolume();
  return mine && theirs && mine->cameraDistanceSquared() <= theirs->cameraDistanceSquared();
}

bool CC3NodeArrayNearFirstSequencer::isMisplaced(CC3Node* node, CC3NodeSequencerVisitor* visitor,
                                                 float& limit) {
  bool measured = measureCameraDistance(node, visitor);
  if (evaluator_ && !evaluator_->evaluate(node)) return true;
  if (!measured) return true;
  // The limit starts at the largest float; nearer than the node before is out
  // of place, so the distances are compared negated.
  const float negated = -node->boundingVolume()->cameraDistanceSquared();
  if (negated > limit) return true;
  limit = negated;
  return false;
}

// MARK: mesh nodes

namespace {
CC3MeshModel* meshOf(CC3Node* node) {
  return static_cast<CC3MeshNode*>(node)->meshModel();
}

CCTexture2D* textureOf(CC3Node* node) {
  CC3Material* material = static_cast<CC3MeshNode*>(node)->material();
  CC3Texture* texture = material ? material->texture() : nullptr;
  return texture ? texture->texture() : nullptr;
}
}  // namespace

Ptr<CC3MeshNodeArraySequencer> CC3MeshNodeArraySequencer::sequencerWithEvaluator(
    CC3NodeEvaluator* evaluator) {
  return makeSequencer<CC3MeshNodeArraySequencer>(evaluator);
}

bool CC3MeshNodeArraySequencer::add(CC3Node* node, CC3NodeSequencerVisitor* visitor) {
  return node && node->isMeshNode() && CC3NodeArraySequencer::add(node, visitor);
}

bool CC3MeshNodeArraySequencer::shouldInsertNode(CC3Node* node, CC3Node* prev, CC3Node* next,
                                                 CC3NodeSequencerVisitor* visitor) {
  return shouldInsertMeshNode(node, prev, next, visitor);
}

Ptr<CC3MeshNodeArraySequencerGroupMeshes>
CC3MeshNodeArraySequencerGroupMeshes::sequencerWithEvaluator(CC3NodeEvaluator* evaluator) {
  return makeSequencer<CC3MeshNodeArraySequencerGroupMeshes>(evaluator);
}

bool CC3MeshNodeArraySequencerGroupMeshes::shouldInsertMeshNode(CC3Node* node, CC3Node* prev,
                                                                CC3Node* next,
                                                                CC3NodeSequencerVisitor*) {
  // At the end of the run of nodes that share this node's mesh.
  return prev && meshOf(node) == meshOf(prev) && meshOf(next) != meshOf(node);
}

Ptr<CC3MeshNodeArraySequencerGroupTextures>
CC3MeshNodeArraySequencerGroupTextures::sequencerWithEvaluator(CC3NodeEvaluator* evaluator) {
  return makeSequencer<CC3MeshNodeArraySequencerGroupTextures>(evaluator);
}

bool CC3MeshNodeArraySequencerGroupTextures::shouldInsertMeshNode(CC3Node* node, CC3Node* prev,
                                                                  CC3Node* next,
                                                                  CC3NodeSequencerVisitor*) {
  return prev && textureOf(node) == textureOf(prev) && textureOf(next) != textureOf(node);
}
