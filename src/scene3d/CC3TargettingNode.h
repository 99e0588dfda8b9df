#pragma once
#include "CC3DirectionalRotator.h"
#include "CC3Node.h"

// A node oriented by a direction: it can point along a forward direction,
// look at a location, or follow another node (cameras and lights).
class CC3TargettingNode : public CC3Node {
 public:
  static Ptr<CC3TargettingNode> node();
  static Ptr<CC3TargettingNode> nodeWithName(std::optional<std::string> name);
  ~CC3TargettingNode() override;

  using CC3Node::initWithTag;
  bool initWithTag(GLuint tag, std::optional<std::string> name) override;
  Ptr<CC3Rotator> makeRotator() const override { return CC3DirectionalRotator::rotator(); }
  CC3DirectionalRotator* directionalRotator() const;

  CC3Node* target() const { return target_.get(); }
  void setTarget(CC3Node* target);
  // The location looked at; derived from the forward direction when that
  // was set last.
  CC3Vec3 targetLocation();
  void setTargetLocation(CC3Vec3 location);
  bool shouldTrackTarget() const { return shouldTrackTarget_; }
  void setShouldTrackTarget(bool track) { shouldTrackTarget_ = track; }
  bool isNewTarget() const { return isNewTarget_; }
  bool isTargetLocationDirty() const { return isTargetLocationDirty_; }
  bool isRotatorDirtyByTargetLocation() const { return isRotatorDirtyByTargetLocation_; }

  CC3Vec3 forwardDirection() const { return directionalRotator()->forwardDirection(); }
  void setForwardDirection(CC3Vec3 direction);
  CC3Vec3 worldUpDirection() const { return directionalRotator()->worldUpDirection(); }
  void setWorldUpDirection(CC3Vec3 direction);
  CC3Vec3 upDirection() const { return directionalRotator()->upDirection(); }
  CC3Vec3 rightDirection() const { return directionalRotator()->rightDirection(); }

  void setLocation(CC3Vec3 location) override;
  void setRotation(CC3Vec3 rotation) override;
  void setQuaternion(CC3Quaternion quaternion) override;

  // Follows the target when it is new or tracking is on.
  void trackTarget();

  void populateFrom(const CC3Identifiable* another) override;
  std::string fullDescription() override;

 protected:
  CC3Identifiable* newInstance() const override { return new CC3TargettingNode(); }
  void applyRotation() override;

  Ptr<CC3Node> target_;
  CC3Vec3 targetLocation_ = kCC3Vec3Zero;
  bool isNewTarget_ = false;
  bool shouldTrackTarget_ = false;
  bool isTargetLocationDirty_ = false;
  bool isRotatorDirtyByTargetLocation_ = false;
};
