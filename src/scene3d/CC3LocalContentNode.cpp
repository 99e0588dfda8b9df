#include "CC3LocalContentNode.h"

Ptr<CC3LocalContentNode> CC3LocalContentNode::node() {
  return nodeWithName(std::nullopt);
}

Ptr<CC3LocalContentNode> CC3LocalContentNode::nodeWithName(std::optional<std::string> name) {
  return makeNode<CC3LocalContentNode>(nextNodeTag(), std::move(name));
}

void CC3LocalContentNode::checkDrawingOrder() {
  if (parent_) parent_->descendantDidModifySequencingCriteria(this);
  CC3Node::checkDrawingOrder();
}
