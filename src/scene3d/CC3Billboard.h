#pragma once
#include "CC3BillboardBoundingBoxArea.h"
#include "CC3Node.h"
#include "CCNode.h"
#include "CGGeometry.h"

class CC3Camera;

// A 3D node that shows a 2D node flat on the screen where the 3D node is
// seen, scaled with its distance from the camera. The 2D node is not in the
// 2D scene graph: the world moves, scales and draws it through this node.
class CC3Billboard : public CC3Node {
 public:
  static Ptr<CC3Billboard> nodeWithBillboard(CCNode* billboard);
  static Ptr<CC3Billboard> nodeWithName(std::optional<std::string> name, CCNode* billboard);

  bool initWithBillboard(CCNode* billboard);
  bool initWithName(std::optional<std::string> name, CCNode* billboard);
  bool initWithTag(GLuint tag, std::optional<std::string> name, CCNode* billboard);
  using CC3Node::initWithTag;
  bool initWithTag(GLuint tag, std::optional<std::string> name) override;

  CCNode* billboard() const { return billboard_.get(); }
  // The 2D node takes this node's visibility, ancestors included.
  void setBillboard(CCNode* billboard);
  void setVisible(bool visible) override;
  // Colour and opacity are the 2D node's, so the billboard fades with its parent.
  ccColor3B color() const override;
  void setColor(ccColor3B color) override;
  GLubyte opacity() const override;
  void setOpacity(GLubyte opacity) override;

  CGPoint offsetPosition() const { return offsetPosition_; }
  void setOffsetPosition(CGPoint offset) { offsetPosition_ = offset; }
  GLfloat unityScaleDistance() const { return unityScaleDistance_; }
  void setUnityScaleDistance(GLfloat distance) { unityScaleDistance_ = distance; }
  CGPoint minimumBillboardScale() const { return minimumBillboardScale_; }
  void setMinimumBillboardScale(CGPoint scale) { minimumBillboardScale_ = scale; }
  CGPoint maximumBillboardScale() const { return maximumBillboardScale_; }
  void setMaximumBillboardScale(CGPoint scale) { maximumBillboardScale_ = scale; }

  // Moves the 2D node to this node's projected position and scales it.
  void faceCamera(CC3Camera* camera);
  // Draws the 2D node when this node is visible and the node's box meets `bounds` (pixels).
  void draw2dWithinBounds(CGRect bounds);
  bool doesIntersectBounds(CGRect bounds);

  void populateFrom(const CC3Identifiable* another) override;
  std::string fullDescription() override;

 protected:
  CC3Identifiable* newInstance() const override { return new CC3Billboard(); }

 private:
  Ptr<CCNode> billboard_;
  CGPoint offsetPosition_ = CGPointZero;
  GLfloat unityScaleDistance_ = 0;
  CGPoint minimumBillboardScale_ = CGPointZero;
  CGPoint maximumBillboardScale_ = CGPointZero;
};
