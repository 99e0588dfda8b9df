#include "CC3NodeAnimation.h"

#include <cmath>
#include <cstdio>

#include "Assert.h"
#include "CC3Node.h"

// MARK: base animation

Ptr<CC3NodeAnimation> CC3NodeAnimation::animationWithFrameCount(GLuint frameCount) {
  auto animation = makeObject<CC3NodeAnimation>();
  animation->initWithFrameCount(frameCount);
  return animation;
}

bool CC3NodeAnimation::init() {
  CCAssert(false, className() + " cannot be initialized without a frame count");
  return false;
}

bool CC3NodeAnimation::initWithFrameCount(GLuint frameCount) {
  frameCount_ = frameCount;
  shouldInterpolate_ = true;
  return true;
}

void CC3NodeAnimation::establishFrameAt(ccSeconds t, CC3Node* node) {
  if (!(t >= 0.0f && t <= 1.0f)) {
    char text[160];
    std::snprintf(text, sizeof text, "%s animation frame time %f must be between 0.0 and 1.0",
                  className().c_str(), static_cast<double>(t));
    CCAssert(false, std::string(text));
  }
  // An animation without frames has nothing to show.
  if (frameCount_ == 0) return;
  GLuint lastIndex = frameCount_ - 1;
  GLfloat x = std::fmin(t * static_cast<GLfloat>(frameCount_), static_cast<GLfloat>(lastIndex));
  GLuint frame = static_cast<GLuint>(x);
  GLfloat fraction = 0;
  if (shouldInterpolate_ && frame < lastIndex) {
    GLfloat f = x - static_cast<GLfloat>(frame);
    // Close enough to a key frame: show the key frame itself.
    if (f < 0.1f) {
      fraction = 0;
    } else if (1.0f - f < 0.1f) {
      frame += 1;
    } else {
      fraction = f;
    }
  }
  establishFrame(frame, fraction, node);
}

void CC3NodeAnimation::establishFrame(GLuint frameIndex, GLfloat fraction, CC3Node* node) {
  GLuint next = frameIndex + 1;
  if (isAnimatingLocation())
    node->setLocation(CC3Vec3Lerp(locationAtFrame(frameIndex), locationAtFrame(next), fraction));
  if (isAnimatingRotation())
    node->setRotation(CC3Vec3Lerp(rotationAtFrame(frameIndex), rotationAtFrame(next), fraction));
  if (isAnimatingQuaternion())
    node->setQuaternion(
        CC3QuaternionSlerp(quaternionAtFrame(frameIndex), quaternionAtFrame(next), fraction));
  if (isAnimatingScale())
    node->setScale(CC3Vec3Lerp(scaleAtFrame(frameIndex), scaleAtFrame(next), fraction));
}

std::string CC3NodeAnimation::description() const {
  return NSObject::description() + " with " + std::to_string(frameCount_) + " frames";
}

// MARK: array animation

Ptr<CC3ArrayNodeAnimation> CC3ArrayNodeAnimation::animationWithFrameCount(GLuint frameCount) {
  auto animation = makeObject<CC3ArrayNodeAnimation>();
  animation->initWithFrameCount(frameCount);
  return animation;
}

CC3ArrayNodeAnimation::~CC3ArrayNodeAnimation() {
  deallocateLocations();
  deallocateRotations();
  deallocateQuaternions();
  deallocateScales();
}

GLuint CC3ArrayNodeAnimation::lastFrame(GLuint frameIndex) const {
  return frameCount_ == 0 ? 0 : std::min(frameIndex, frameCount_ - 1);
}

CC3Vec3 CC3ArrayNodeAnimation::locationAtFrame(GLuint frameIndex) const {
  return animatedLocations_ ? animatedLocations_[lastFrame(frameIndex)] : kCC3Vec3Zero;
}
CC3Vec3 CC3ArrayNodeAnimation::rotationAtFrame(GLuint frameIndex) const {
  return animatedRotations_ ? animatedRotations_[lastFrame(frameIndex)] : kCC3Vec3Zero;
}
CC3Quaternion CC3ArrayNodeAnimation::quaternionAtFrame(GLuint frameIndex) const {
  return animatedQuaternions_ ? animatedQuaternions_[lastFrame(frameIndex)]
                              : kCC3QuaternionIdentity;
}
CC3Vec3 CC3ArrayNodeAnimation::scaleAtFrame(GLuint frameIndex) const {
  return animatedScales_ ? animatedScales_[lastFrame(frameIndex)] : kCC3Vec3Unit;
}

namespace {

// Frees an array the animation owns, then references `given` without owning it.
template <class T>
void replaceTrack(T*& track, bool& owned, T* given) {
  if (owned) delete[] track;
  track = given;
  owned = false;
}

template <class T>
T* allocateTrack(T*& track, bool& owned, GLuint count, T neutral) {
  replaceTrack<T>(track, owned, nullptr);
  if (count == 0) return nullptr;
  track = new T[count];
  for (GLuint i = 0; i < count; ++i) track[i] = neutral;
  owned = true;
  return track;
}

}  // namespace

void CC3ArrayNodeAnimation::setAnimatedLocations(CC3Vec3* locations) {
  replaceTrack(animatedLocations_, locationsAreRetained_, locations);
}
void CC3ArrayNodeAnimation::setAnimatedRotations(CC3Vec3* rotations) {
  replaceTrack(animatedRotations_, rotationsAreRetained_, rotations);
}
void CC3ArrayNodeAnimation::setAnimatedQuaternions(CC3Quaternion* quaternions) {
  replaceTrack(animatedQuaternions_, quaternionsAreRetained_, quaternions);
}
void CC3ArrayNodeAnimation::setAnimatedScales(CC3Vec3* scales) {
  replaceTrack(animatedScales_, scalesAreRetained_, scales);
}

CC3Vec3* CC3ArrayNodeAnimation::allocateLocations() {
  return allocateTrack(animatedLocations_, locationsAreRetained_, frameCount_, kCC3Vec3Zero);
}
CC3Vec3* CC3ArrayNodeAnimation::allocateRotations() {
  return allocateTrack(animatedRotations_, rotationsAreRetained_, frameCount_, kCC3Vec3Zero);
}
CC3Quaternion* CC3ArrayNodeAnimation::allocateQuaternions() {
  return allocateTrack(animatedQuaternions_, quaternionsAreRetained_, frameCount_,
                       kCC3QuaternionIdentity);
}
CC3Vec3* CC3ArrayNodeAnimation::allocateScales() {
  return allocateTrack(animatedScales_, scalesAreRetained_, frameCount_, kCC3Vec3Unit);
}

void CC3ArrayNodeAnimation::deallocateLocations() {
  if (locationsAreRetained_)
    replaceTrack<CC3Vec3>(animatedLocations_, locationsAreRetained_, nullptr);
}
void CC3ArrayNodeAnimation::deallocateRotations() {
  if (rotationsAreRetained_)
    replaceTrack<CC3Vec3>(animatedRotations_, rotationsAreRetained_, nullptr);
}
void CC3ArrayNodeAnimation::deallocateQuaternions() {
  if (quaternionsAreRetained_)
    replaceTrack<CC3Quaternion>(animatedQuaternions_, quaternionsAreRetained_, nullptr);
}
void CC3ArrayNodeAnimation::deallocateScales() {
  if (scalesAreRetained_) replaceTrack<CC3Vec3>(animatedScales_, scalesAreRetained_, nullptr);
}
