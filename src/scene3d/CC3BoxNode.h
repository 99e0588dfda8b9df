#pragma once
#include "CC3MeshNode.h"

// A mesh node meant for the box builders of the mesh node.
class CC3BoxNode : public CC3MeshNode {
 public:
  static Ptr<CC3BoxNode> node() { return makeNode<CC3BoxNode>(nextNodeTag(), std::nullopt); }
  static Ptr<CC3BoxNode> nodeWithName(std::optional<std::string> name) {
    return makeNode<CC3BoxNode>(nextNodeTag(), std::move(name));
  }

 protected:
  CC3Identifiable* newInstance() const override { return new CC3BoxNode(); }
};
