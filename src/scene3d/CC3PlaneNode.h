#pragma once
#include "CC3MeshNode.h"

// A flat mesh node: the book's pictures are rectangles built with the
// populate operations of the mesh node.
class CC3PlaneNode : public CC3MeshNode {
 public:
  static Ptr<CC3PlaneNode> node();
  static Ptr<CC3PlaneNode> nodeWithTag(GLuint tag);
  static Ptr<CC3PlaneNode> nodeWithName(std::optional<std::string> name);
  static Ptr<CC3PlaneNode> nodeWithTag(GLuint tag, std::optional<std::string> name);

  // The plane through the global positions of the first three vertices (of
  // the first three indices when the mesh has indices), in that order.
  CC3Plane plane() const;

 protected:
  CC3Identifiable* newInstance() const override { return new CC3PlaneNode(); }
};
