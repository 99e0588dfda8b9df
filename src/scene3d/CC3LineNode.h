#pragma once
#include "CC3MeshNode.h"

// A mesh node drawn as lines of a given width, optionally smoothed.
class CC3LineNode : public CC3MeshNode {
 public:
  static Ptr<CC3LineNode> node();
  static Ptr<CC3LineNode> nodeWithName(std::optional<std::string> name);

  GLfloat lineWidth() const { return lineWidth_; }
  void setLineWidth(GLfloat width) { lineWidth_ = width; }
  bool shouldSmoothLines() const { return shouldSmoothLines_; }
  void setShouldSmoothLines(bool smooth) { shouldSmoothLines_ = smooth; }

  void drawLocalContentWithVisitor(CC3NodeDrawingVisitor* visitor) override;
  void populateFrom(const CC3Identifiable* another) override;

 protected:
  CC3Identifiable* newInstance() const override { return new CC3LineNode(); }

 private:
  GLfloat lineWidth_ = 1.0f;
  bool shouldSmoothLines_ = false;
};
