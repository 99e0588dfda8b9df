#pragma once
#include <vector>

#include "CCArray.h"
#include "NSObject.h"

class CC3Node;
class CC3World;

// MARK: evaluators: which nodes a sequencer takes

class CC3NodeEvaluator : public NSObject {
 public:
  static Ptr<CC3NodeEvaluator> evaluator() { return makeObject<CC3NodeEvaluator>(); }
  virtual bool evaluate(CC3Node*) { return false; }
  std::string description() const override { return className(); }
};

class CC3NodeAcceptor : public CC3NodeEvaluator {
 public:
  static Ptr<CC3NodeAcceptor> evaluator() { return makeObject<CC3NodeAcceptor>(); }
  bool evaluate(CC3Node*) override { return true; }
};

class CC3NodeRejector : public CC3NodeEvaluator {
 public:
  static Ptr<CC3NodeRejector> evaluator() { return makeObject<CC3NodeRejector>(); }
  bool evaluate(CC3Node*) override { return false; }
};

// Looks only at nodes that draw something themselves.
class CC3LocalContentNodeEvaluator : public CC3NodeEvaluator {
 public:
  static Ptr<CC3LocalContentNodeEvaluator> evaluator() {
    return makeObject<CC3LocalContentNodeEvaluator>();
  }
  bool evaluate(CC3Node* node) override;
  virtual bool evaluateLocalContentNode(CC3Node*) { return false; }
};

class CC3LocalContentNodeAcceptor : public CC3LocalContentNodeEvaluator {
 public:
  static Ptr<CC3LocalContentNodeAcceptor> evaluator() {
    return makeObject<CC3LocalContentNodeAcceptor>();
  }
  bool evaluateLocalContentNode(CC3Node*) override { return true; }
};

class CC3OpaqueNodeAcceptor : public CC3LocalContentNodeEvaluator {
 public:
  static Ptr<CC3OpaqueNodeAcceptor> evaluator() { return makeObject<CC3OpaqueNodeAcceptor>(); }
  bool evaluateLocalContentNode(CC3Node* node) override;
};

class CC3TranslucentNodeAcceptor : public CC3LocalContentNodeEvaluator {
 public:
  static Ptr<CC3TranslucentNodeAcceptor> evaluator() {
    return makeObject<CC3TranslucentNodeAcceptor>();
  }
  bool evaluateLocalContentNode(CC3Node* node) override;
};

// MARK: sequencer visitors

// Carries the world to the sequencers (the Z-order one needs its camera).
class CC3NodeSequencerVisitor : public NSObject {
 public:
  static Ptr<CC3NodeSequencerVisitor> visitorWithWorld(CC3World* world);
  CC3World* world() const { return world_; }
  void setWorld(CC3World* world) { world_ = world; }
  std::string description() const override { return className(); }

 protected:
  CC3World* world_ = nullptr;  // not retained
};

// Collects the nodes that no longer stand where their sequencer wants them.
class CC3NodeSequencerMisplacedNodeVisitor : public CC3NodeSequencerVisitor {
 public:
  static Ptr<CC3NodeSequencerMisplacedNodeVisitor> visitorWithWorld(CC3World* world);
  const std::vector<Ptr<CC3Node>>& misplacedNodes() const { return misplacedNodes_; }
  bool hasMisplacedNodes() const { return !misplacedNodes_.empty(); }
  void addMisplacedNode(CC3Node* node);
  void addMisplacedNodes(const std::vector<Ptr<CC3Node>>& nodes);

 private:
  std::vector<Ptr<CC3Node>> misplacedNodes_;
};

// MARK: sequencers: the draw order

class CC3NodeSequencer : public NSObject {
 public:
  static Ptr<CC3NodeSequencer> sequencer();
  static Ptr<CC3NodeSequencer> sequencerWithEvaluator(CC3NodeEvaluator* evaluator);
  bool initWithEvaluator(CC3NodeEvaluator* evaluator);

  CC3NodeEvaluator* evaluator() const { return evaluator_.get(); }
  void setEvaluator(CC3NodeEvaluator* evaluator) { evaluator_ = evaluator; }
  bool allowSequenceUpdates() const { return allowSequenceUpdates_; }
  virtual void setAllowSequenceUpdates(bool allow) { allowSequenceUpdates_ = allow; }

  // Whether this sequencer, or one below it, took the node.
  virtual bool add(CC3Node*, CC3NodeSequencerVisitor*) { return false; }
  // Whether the node was found (by identity) and removed.
  virtual bool remove(CC3Node*, CC3NodeSequencerVisitor*) { return false; }
  // The nodes in drawing order, in a fresh array.
  virtual Ptr<CCArray> nodes() const { return CCArray::array(); }
  virtual void appendNodesTo(CCArray*) const {}
  virtual bool containsNode(CC3Node*) const { return false; }

  // Takes out the nodes that no longer fit where they stand and adds them
  // again; whether anything moved.
  bool updateSequenceWithVisitor(CC3NodeSequencerMisplacedNodeVisitor* visitor);
  // Takes the misplaced nodes out and hands them to the visitor; none while
  // sequence updates are not allowed.
  virtual void removeMisplacedNodesWithVisitor(CC3NodeSequencerMisplacedNodeVisitor*) {}

  std::string description() const override { return className(); }
  virtual std::string fullDescription() const;

 protected:
  bool evaluatorAccepts(CC3Node* node) const { return evaluator_ && evaluator_->evaluate(node); }

  Ptr<CC3NodeEvaluator> evaluator_;
  bool allowSequenceUpdates_ = true;
};

// Offers each node to its child sequencers in order; the first that takes it keeps it.
class CC3BTreeNodeSequencer : public CC3NodeSequencer {
 public:
  static Ptr<CC3BTreeNodeSequencer> sequencerWithEvaluator(CC3NodeEvaluator* evaluator);
  // Opaque nodes in the order added, then translucent ones farthest first.
  static Ptr<CC3BTreeNodeSequencer> sequencerLocalContentOpaqueFirst();
  // As above, with the opaque nodes sharing a mesh kept together.
  static Ptr<CC3BTreeNodeSequencer> sequencerLocalContentOpaqueFirstGroupMeshes();
  // As above, with the opaque nodes sharing a texture kept together.
  static Ptr<CC3BTreeNodeSequencer> sequencerLocalContentOpaqueFirstGroupTextures();
  // Opaque nodes nearest first, then translucent ones farthest first.
  static Ptr<CC3BTreeNodeSequencer> sequencerLocalContentOpaqueNearFirst();

  const std::vector<Ptr<CC3NodeSequencer>>& sequencers() const { return sequencers_; }
  void addSequencer(CC3NodeSequencer* sequencer);

  void setAllowSequenceUpdates(bool allow) override;
  bool add(CC3Node* node, CC3NodeSequencerVisitor* visitor) override;
  bool remove(CC3Node* node, CC3NodeSequencerVisitor* visitor) override;
  Ptr<CCArray> nodes() const override;
  void appendNodesTo(CCArray* array) const override;
  bool containsNode(CC3Node* node) const override;
  void removeMisplacedNodesWithVisitor(CC3NodeSequencerMisplacedNodeVisitor* visitor) override;
  std::string fullDescription() const override;

 private:
  std::vector<Ptr<CC3NodeSequencer>> sequencers_;
};

// Holds its nodes in an ordered array; the base keeps the order of adding.
class CC3NodeArraySequencer : public CC3NodeSequencer {
 public:
  static Ptr<CC3NodeArraySequencer> sequencerWithEvaluator(CC3NodeEvaluator* evaluator);

  bool add(CC3Node* node, CC3NodeSequencerVisitor* visitor) override;
  bool remove(CC3Node* node, CC3NodeSequencerVisitor* visitor) override;
  Ptr<CCArray> nodes() const override;
  void appendNodesTo(CCArray* array) const override;
  bool containsNode(CC3Node* node) const override;
  std::size_t nodeCount() const { return nodes_.size(); }
  void removeMisplacedNodesWithVisitor(CC3NodeSequencerMisplacedNodeVisitor* visitor) override;

 protected:
  virtual bool shouldInsertNode(CC3Node* node, CC3Node* prev, CC3Node* next,
                                CC3NodeSequencerVisitor* visitor);
  // Called before the node is placed (the Z-order sequencer measures it).
  virtual void prepareToAdd(CC3Node*, CC3NodeSequencerVisitor*) {}
  // Whether a held node must leave; the base asks the evaluator again.
  virtual bool isMisplaced(CC3Node* node, CC3NodeSequencerVisitor* visitor, float& limit);
  virtual bool canReportMisplacedNodes(CC3NodeSequencerVisitor*) const { return true; }

  std::vector<Ptr<CC3Node>> nodes_;
};

// Farthest from the camera first, for translucent nodes.
class CC3NodeArrayZOrderSequencer : public CC3NodeArraySequencer {
 public:
  static Ptr<CC3NodeArrayZOrderSequencer> sequencerWithEvaluator(CC3NodeEvaluator* evaluator);

 protected:
  bool shouldInsertNode(CC3Node* node, CC3Node* prev, CC3Node* next,
                        CC3NodeSequencerVisitor* visitor) override;
  bool isMisplaced(CC3Node* node, CC3NodeSequencerVisitor* visitor, float& limit) override;
  bool canReportMisplacedNodes(CC3NodeSequencerVisitor* visitor) const override;
  void prepareToAdd(CC3Node* node, CC3NodeSequencerVisitor* visitor) override;
};

// Nearest to the camera first: for opaque nodes, whose covered pixels the
// depth test then rejects before they are shaded.
class CC3NodeArrayNearFirstSequencer : public CC3NodeArrayZOrderSequencer {
 public:
  static Ptr<CC3NodeArrayNearFirstSequencer> sequencerWithEvaluator(CC3NodeEvaluator* evaluator);

 protected:
  bool shouldInsertNode(CC3Node* node, CC3Node* prev, CC3Node* next,
                        CC3NodeSequencerVisitor* visitor) override;
  bool isMisplaced(CC3Node* node, CC3NodeSequencerVisitor* visitor, float& limit) override;
};

// Takes mesh nodes only.
class CC3MeshNodeArraySequencer : public CC3NodeArraySequencer {
 public:
  static Ptr<CC3MeshNodeArraySequencer> sequencerWithEvaluator(CC3NodeEvaluator* evaluator);
  bool add(CC3Node* node, CC3NodeSequencerVisitor* visitor) override;

 protected:
  bool shouldInsertNode(CC3Node* node, CC3Node* prev, CC3Node* next,
                        CC3NodeSequencerVisitor* visitor) override;
  virtual bool shouldInsertMeshNode(CC3Node*, CC3Node*, CC3Node*, CC3NodeSequencerVisitor*) {
    return false;
  }
};

// A node joins the end of the run of nodes that share its mesh.
class CC3MeshNodeArraySequencerGroupMeshes : public CC3MeshNodeArraySequencer {
 public:
  static Ptr<CC3MeshNodeArraySequencerGroupMeshes> sequencerWithEvaluator(
      CC3NodeEvaluator* evaluator);

 protected:
  bool shouldInsertMeshNode(CC3Node* node, CC3Node* prev, CC3Node* next,
                            CC3NodeSequencerVisitor* visitor) override;
};

// A node joins the end of the run of nodes that share its 2D texture.
class CC3MeshNodeArraySequencerGroupTextures : public CC3MeshNodeArraySequencer {
 public:
  static Ptr<CC3MeshNodeArraySequencerGroupTextures> sequencerWithEvaluator(
      CC3NodeEvaluator* evaluator);

 protected:
  bool shouldInsertMeshNode(CC3Node* node, CC3Node* prev, CC3Node* next,
                            CC3NodeSequencerVisitor* visitor) override;
};
