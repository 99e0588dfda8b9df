#pragma once
#include <string>

#include "CC3OpenGLES11StateTracker.h"

// One piece of GL state: remembers the value it last set so that setting it
// again makes no GL call, and reads/restores the 2D engine's value as its
// original-value handling says.
class CC3OpenGLES11StateTrackerPrimitive : public CC3OpenGLES11StateTracker {
 public:
  GLenum name() const { return name_; }
  CC3GLESStateOriginalValueHandling originalValueHandling() const { return handling_; }
  // A new handling makes the tracked value unknown again.
  void setOriginalValueHandling(CC3GLESStateOriginalValueHandling handling);
  bool valueIsKnown() const { return valueIsKnown_; }
  void setValueIsKnown(bool known) { valueIsKnown_ = known; }

  void open() override;
  void close() override;
  std::string description() const override;

 protected:
  CC3OpenGLES11StateTrackerPrimitive(GLenum name, CC3GLESStateOriginalValueHandling handling)
      : name_(name), handling_(handling) {}

  // Reads the GL value into the original and makes it the current value.
  virtual void readOriginalValue() = 0;
  virtual void restoreOriginalValue() = 0;

 private:
  GLenum name_;
  CC3GLESStateOriginalValueHandling handling_;
  bool valueIsKnown_ = false;
  bool originalValueIsKnown_ = false;
};
