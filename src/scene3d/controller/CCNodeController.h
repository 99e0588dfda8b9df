#pragma once
#include "CCNode.h"
#include "NSObject.h"
#include "UIView.h"

class NSNotification;
class ControlledCCNodeProtocol;

// Runs one node as the director's scene and, when automatic rotation is on,
// follows the device between the two landscape orientations: the director
// turns the picture and the node is told the new orientation.
class CCNodeController : public NSObject {
 public:
  static Ptr<CCNodeController> controller();
  // Takes the director's GL view as its view.
  CCNodeController();
  ~CCNodeController() override;

  UIView* view() const { return view_.get(); }
  CCNode* controlledNode() const { return controlledNode_.get(); }
  void setControlledNode(CCNode* node);
  // Puts the node into a new scene and runs or replaces the director's scene.
  void runSceneOnNode(CCNode* node);

  bool doesAutoRotate() const { return doesAutoRotate_; }
  void setDoesAutoRotate(bool autoRotate);
  void deviceOrientationDidChange(NSNotification* notification);

 private:
  Ptr<UIView> view_;
  Ptr<CCNode> controlledNode_;
  bool doesAutoRotate_ = false;
};
