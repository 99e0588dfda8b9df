#pragma once
#include <GLES/gl.h>

#include "CC3NodeVisitor.h"

// Draws the touchable nodes in flat colours that encode their tags, then
// reads the colour under the touch point back and finds the node it names.
// Untouchable nodes are not drawn, so they hide nothing from the pick.
class CC3NodePickingVisitor : public CC3NodeDrawingVisitor {
 public:
  static Ptr<CC3NodePickingVisitor> visitor();
  static Ptr<CC3NodePickingVisitor> visitorWithWorld(CC3Node* world);
  CC3NodePickingVisitor() { shouldDecorateNode_ = false; }

  CC3Node* pickedNode() const { return pickedNode_.get(); }
  ccColor4F originalColor() const { return originalColor_; }

  void open() override;
  void close() override;
  void drawLocalContentOf(CC3Node* node) override;
  void paintNode(CC3Node* node);

  // The low 24 bits of the tag as red, green, blue; alpha is opaque.
  static ccColor4B colorFromNodeTag(GLuint tag);
  static GLuint tagFromColor(ccColor4B color);

 private:
  Ptr<CC3Node> pickedNode_;
  ccColor4F originalColor_{0, 0, 0, 0};
};
