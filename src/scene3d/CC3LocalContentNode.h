#pragma once
#include "CC3Node.h"

// A node that draws something itself (the base of the mesh nodes), and so
// takes a place in the world's draw sequence.
class CC3LocalContentNode : public CC3Node {
 public:
  static Ptr<CC3LocalContentNode> node();
  static Ptr<CC3LocalContentNode> nodeWithName(std::optional<std::string> name);

  bool hasLocalContent() const override { return true; }
  // Asks the world to re-sort this node, then passes the request down.
  void checkDrawingOrder() override;

 protected:
  CC3Identifiable* newInstance() const override { return new CC3LocalContentNode(); }
};
