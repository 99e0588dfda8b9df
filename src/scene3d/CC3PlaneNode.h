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

  // A picture with no alpha drawn opaque, without blending (and so in the
  // opaque group, ahead of the translucent nodes). Call it once the picture and
  // the blending are set; nothing when fitting is off.
  void fitToPicture();
  // Draws the picture only over the part that is not transparent; picking and
  // bounds keep the whole plane. The same pixels get the same colours only
  // where lighting is the same across the plane (unlit, or a directional light
  // without specular): the lit colours are computed at the vertices, and the
  // trimmed mesh has others.
  void trimToPicture();

 protected:
  CC3Identifiable* newInstance() const override { return new CC3PlaneNode(); }

 private:
  CCTexture2D* pictureTexture() const;
};
