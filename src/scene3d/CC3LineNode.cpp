#include "CC3LineNode.h"

#include "CC3OpenGLES11Engine.h"

Ptr<CC3LineNode> CC3LineNode::node() {
  return makeNode<CC3LineNode>(nextNodeTag(), std::nullopt);
}

Ptr<CC3LineNode> CC3LineNode::nodeWithName(std::optional<std::string> name) {
  return makeNode<CC3LineNode>(nextNodeTag(), std::move(name));
}

void CC3LineNode::drawLocalContentWithVisitor(CC3NodeDrawingVisitor* visitor) {
  CC3OpenGLES11Engine* gles = CC3OpenGLES11Engine::engine();
  gles->serverCapabilities()->lineSmooth()->setValue(shouldSmoothLines_);
  gles->state()->lineWidth()->setValue(lineWidth_);
  CC3MeshNode::drawLocalContentWithVisitor(visitor);
}

void CC3LineNode::populateFrom(const CC3Identifiable* another) {
  CC3MeshNode::populateFrom(another);
  if (const auto* other = dynamic_cast<const CC3LineNode*>(another)) {
    lineWidth_ = other->lineWidth_;
    shouldSmoothLines_ = other->shouldSmoothLines_;
  }
}
