#pragma once
#include <string>
#include <vector>

#include "CGGeometry.h"
#include "NSObject.h"
#include "UITouch.h"

class CAEAGLLayer;
class UIWindow;

struct UIColor {
  float r = 0, g = 0, b = 0, a = 0;
};

// A rectangle on the device screen with subviews, a tag, a rotation and an
// alpha. Views receive touches; drawing of ordinary views is done with GL by
// the window over the GL view (see `drawOverlay`).
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
  void setAlpha(float alpha);
  bool isHidden() const { return hidden_; }
  void setHidden(bool hidden) { hidden_ = hidden; }
  // Rotation in radians about the view's centre.
  float rotation() const { return rotation_; }
  void setRotation(float radians) { rotation_ = radians; }
  UIColor backgroundColor() const { return background_; }
  void setBackgroundColor(UIColor color) { background_ = color; }
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
  UIView* hitTest(CGPoint point);
  CGPoint convertFromWindow(CGPoint windowPoint) const;
  CGPoint convertToWindow(CGPoint point) const;

  // GL views answer their drawable layer.
  virtual CAEAGLLayer* eaglLayer() { return nullptr; }
  virtual void layoutSubviews() {}

  virtual void touchesBegan(const UITouchSet& touches, UIEvent* event);
  virtual void touchesMoved(const UITouchSet& touches, UIEvent* event);
  virtual void touchesEnded(const UITouchSet& touches, UIEvent* event);
  virtual void touchesCancelled(const UITouchSet& touches, UIEvent* event);

  // Called every frame after the GL view presents, for views that draw with GL.
  virtual void drawOverlay() {}

  // View animations: property changes between begin and commit take effect
  // at once; the did-stop selector is called after the duration.
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
};
