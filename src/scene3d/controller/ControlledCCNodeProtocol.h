#pragma once

class CCNodeController;

// What a node run by a CCNodeController offers besides the orientation
// notice every node passes on to its children.
class ControlledCCNodeProtocol {
 public:
  virtual ~ControlledCCNodeProtocol() = default;
  virtual CCNodeController* controller() const = 0;
  // The controller is not retained by the node.
  virtual void setController(CCNodeController* controller) = 0;
};
