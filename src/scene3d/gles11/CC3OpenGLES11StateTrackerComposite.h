#pragma once
#include <vector>

#include "CC3OpenGLES11StateTrackerPrimitive.h"

// Several primitive values that one GL call sets together. The members read
// their originals as the group's handling says; restoring is done by the
// group with its single call, never by the members on their own.
class CC3OpenGLES11StateTrackerComposite : public CC3OpenGLES11StateTracker {
 public:
  CC3GLESStateOriginalValueHandling originalValueHandling() const { return handling_; }
  void setOriginalValueHandling(CC3GLESStateOriginalValueHandling handling);
  bool shouldAlwaysSetGL() const { return shouldAlwaysSetGL_; }
  void setShouldAlwaysSetGL(bool always) { shouldAlwaysSetGL_ = always; }
  // Known when every member is.
  bool valueIsKnown() const;

  void open() override;
  void close() override;

 protected:
  explicit CC3OpenGLES11StateTrackerComposite(CC3GLESStateOriginalValueHandling handling)
      : handling_(handling) {}

  // Members in their GL-call order; each added with the group's handling.
  void addMember(CC3OpenGLES11StateTrackerPrimitive* member);
  virtual void restoreOriginalValues() = 0;

 private:
  static CC3GLESStateOriginalValueHandling memberHandling(CC3GLESStateOriginalValueHandling h);

  std::vector<Ptr<CC3OpenGLES11StateTrackerPrimitive>> members_;
  CC3GLESStateOriginalValueHandling handling_;
  bool shouldAlwaysSetGL_ = false;
};
