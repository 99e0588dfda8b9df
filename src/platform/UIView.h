#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "CGGeometry.h"
#include "DrawRevision.h"
#include "NSObject.h"
#include "UITouch.h"
#include "UIViewBitmap.h"

class CAEAGLLayer;
class UIWindow;

struct UIColor {
  float r = 0, g = 0, b = 0, a = 0;
};

// A rectangle on the device screen with subviews, a tag, a rotation and an
// alpha. The key window's views above its GL view are composited over each
// presented GL frame (ViewCompositor). A touch goes to the deepest view under
// it and stays there: a view that does not handle touches swallows them, so
// nothing beneath a covering view sees them.
class UIView : public NSObject {
 public:
  explicit UIView(CGRect frame = CGRectZero);
  ~UIView() override;

  CGRect frame() const { return frame_; }
  virtual void setFrame(CGRect frame);
  CGRect bounds() const { return {{0, 0}, frame_.size}; }
  int tag() const { return tag_; }
  void setTag(int tag) { tag_ = tag; }
  float alpha() const { return alpha_; }
  // Inside an animation block the change is shown gradually (see presentationAlpha).
  void setAlpha(float alpha);
  // The alpha on screen at `now`: between the old and the new value while an
  // alpha animation runs, the view's alpha otherwise.
  float presentationAlpha(double now) const;
  bool isHidden() const { return hidden_; }
  void setHidden(bool hidden) {
    hidden_ = hidden;
    DrawRevision::bump();
  }
  // Rotation in radians about the view's centre.
  float rotation() const { return rotation_; }
  void setRotation(float radians) {
    rotation_ = radians;
    DrawRevision::bump();
  }
  UIColor backgroundColor() const { return background_; }
  void setBackgroundColor(UIColor color) {
    background_ = color;
    DrawRevision::bump();
  }
  bool isUserInteractionEnabled() const { return interaction_; }
  void setUserInteractionEnabled(bool enabled) { interaction_ = enabled; }
  bool isMultipleTouchEnabled() const { return multipleTouch_; }
  void setMultipleTouchEnabled(bool enabled) { multipleTouch_ = enabled; }

  void addSubview(UIView* view);
  void removeFromSuperview();
  UIView* superview() const { return superview_; }
  const std::vector<Ptr<UIView>>& subviews() const { return subviews_; }
  UIView* viewWithTag(int tag);
  UIWindow* window() const;

  // The deepest visible, interactive view under `point` (this view's coordinates).
  virtual UIView* hitTest(CGPoint point);
  CGPoint convertFromWindow(CGPoint windowPoint) const;
  CGPoint convertToWindow(CGPoint point) const;

  // GL views answer their drawable layer.
  virtual CAEAGLLayer* eaglLayer() { return nullptr; }
  virtual void layoutSubviews() {}

  virtual void touchesBegan(const UITouchSet& touches, UIEvent* event);
  virtual void touchesMoved(const UITouchSet& touches, UIEvent* event);
  virtual void touchesEnded(const UITouchSet& touches, UIEvent* event);
  virtual void touchesCancelled(const UITouchSet& touches, UIEvent* event);

  // The picture a drawing view shows over its background, stretched from
  // `contentsRect` (bitmap pixels) onto the view's bounds; null for a view
  // that shows only its background colour.
  virtual const UIViewBitmap* contents() { return nullptr; }
  virtual CGRect contentsRect();
  // Changes whenever the contents change, so that a cached copy can be renewed.
  unsigned contentsVersion() const { return contentsVersion_; }
  void setNeedsDisplay() {
    ++contentsVersion_;
    DrawRevision::bump();
  }
  // Distinct for every view made in the process.
  std::uint64_t viewID() const { return viewID_; }

  // View animations: between begin and commit, alpha changes are shown
  // gradually over the duration and other changes take effect at once; the
  // did-stop selector is called on the delegate when the duration has passed.
  static void beginAnimations(const std::string& animationID, void* context);
  static void setAnimationDelegate(NSObject* delegate);
  static void setAnimationDidStopSelector(Selector<> selector);
  static void setAnimationDuration(double seconds);
  static void commitAnimations();

 private:
  CGRect frame_;
  int tag_ = 0;
  float alpha_ = 1;
  bool hidden_ = false;
  float rotation_ = 0;
  UIColor background_;
  bool interaction_ = true;
  bool multipleTouch_ = false;
  UIView* superview_ = nullptr;
  std::vector<Ptr<UIView>> subviews_;
  unsigned contentsVersion_ = 0;
  std::uint64_t viewID_;
  struct AlphaAnimation {
    float from = 1;
    double start = 0, duration = 0;
  };
  AlphaAnimation alphaAnimation_;

  friend struct UIViewAnimationBlock;
};
