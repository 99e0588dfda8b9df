#pragma once
#include <GLES/gl.h>

#include "CC3Foundation.h"
#include "NSObject.h"
#include "ccTypes.h"

class CC3Node;

// Key-frame tracks for a node's location, rotation, quaternion and scale.
// The base class animates nothing; subclasses say which tracks they carry.
class CC3NodeAnimation : public NSObject {
 public:
  static Ptr<CC3NodeAnimation> animationWithFrameCount(GLuint frameCount);
  CC3NodeAnimation() = default;
  // Not supported: an animation needs a frame count.
  bool init();
  virtual bool initWithFrameCount(GLuint frameCount);

  GLuint frameCount() const { return frameCount_; }
  bool shouldInterpolate() const { return shouldInterpolate_; }
  void setShouldInterpolate(bool interpolate) { shouldInterpolate_ = interpolate; }

  virtual bool isAnimatingLocation() const { return false; }
  virtual bool isAnimatingRotation() const { return false; }
  virtual bool isAnimatingQuaternion() const { return false; }
  virtual bool isAnimatingScale() const { return false; }

  // Sets the node to the animation's state at t, from 0 to 1.
  void establishFrameAt(ccSeconds t, CC3Node* node);
  // Sets the tracks carried, blended from `frameIndex` towards the next frame.
  void establishFrame(GLuint frameIndex, GLfloat fraction, CC3Node* node);

  virtual CC3Vec3 locationAtFrame(GLuint) const { return kCC3Vec3Zero; }
  virtual CC3Vec3 rotationAtFrame(GLuint) const { return kCC3Vec3Zero; }
  virtual CC3Quaternion quaternionAtFrame(GLuint) const { return kCC3QuaternionIdentity; }
  virtual CC3Vec3 scaleAtFrame(GLuint) const { return kCC3Vec3Unit; }

  std::string description() const override;

 protected:
  GLuint frameCount_ = 0;
  bool shouldInterpolate_ = true;
};

// Tracks held in arrays of frameCount entries. An array the animation
// allocated is its own; one given to it is only referenced.
class CC3ArrayNodeAnimation : public CC3NodeAnimation {
 public:
  static Ptr<CC3ArrayNodeAnimation> animationWithFrameCount(GLuint frameCount);
  ~CC3ArrayNodeAnimation() override;

  bool isAnimatingLocation() const override { return animatedLocations_ != nullptr; }
  bool isAnimatingRotation() const override { return animatedRotations_ != nullptr; }
  bool isAnimatingQuaternion() const override { return animatedQuaternions_ != nullptr; }
  bool isAnimatingScale() const override { return animatedScales_ != nullptr; }

  // Indices past the last frame read the last frame.
  CC3Vec3 locationAtFrame(GLuint frameIndex) const override;
  CC3Vec3 rotationAtFrame(GLuint frameIndex) const override;
  CC3Quaternion quaternionAtFrame(GLuint frameIndex) const override;
  CC3Vec3 scaleAtFrame(GLuint frameIndex) const override;

  CC3Vec3* animatedLocations() const { return animatedLocations_; }
  CC3Vec3* animatedRotations() const { return animatedRotations_; }
  CC3Quaternion* animatedQuaternions() const { return animatedQuaternions_; }
  CC3Vec3* animatedScales() const { return animatedScales_; }
  void setAnimatedLocations(CC3Vec3* locations);
  void setAnimatedRotations(CC3Vec3* rotations);
  void setAnimatedQuaternions(CC3Quaternion* quaternions);
  void setAnimatedScales(CC3Vec3* scales);

  // Owned arrays of frameCount neutral entries, returned for filling.
  CC3Vec3* allocateLocations();
  CC3Vec3* allocateRotations();
  CC3Quaternion* allocateQuaternions();
  CC3Vec3* allocateScales();
  void deallocateLocations();
  void deallocateRotations();
  void deallocateQuaternions();
  void deallocateScales();

 private:
  GLuint lastFrame(GLuint frameIndex) const;

  CC3Vec3* animatedLocations_ = nullptr;
  CC3Vec3* animatedRotations_ = nullptr;
  CC3Quaternion* animatedQuaternions_ = nullptr;
  CC3Vec3* animatedScales_ = nullptr;
  bool locationsAreRetained_ = false;
  bool rotationsAreRetained_ = false;
  bool quaternionsAreRetained_ = false;
  bool scalesAreRetained_ = false;
};
