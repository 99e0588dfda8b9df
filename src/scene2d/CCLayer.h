#pragma once
#include "CCNode.h"
#include "CCTouchDelegateProtocol.h"
#include "UIAccelerometer.h"

// A node that fills the window and can take touches and accelerometer
// samples while it is running.
class CCLayer : public CCNode,
                public CCStandardTouchDelegate,
                public CCTargetedTouchDelegate,
                public UIAccelerometerDelegate {
 public:
  static Ptr<CCLayer> node();
  CCLayer();
  ~CCLayer() override;

  // Registers as a standard delegate with priority 0; subclasses register
  // as targeted delegates instead.
  virtual void registerWithTouchDispatcher();
  bool isTouchEnabled() const { return isTouchEnabled_; }
  void setIsTouchEnabled(bool enabled);
  bool isAccelerometerEnabled() const { return isAccelerometerEnabled_; }
  void setIsAccelerometerEnabled(bool enabled);

  void onEnter() override;
  void onEnterTransitionDidFinish() override;
  void onExit() override;

  // Layers that register as targeted delegates must override this.
  bool ccTouchBegan(UITouch* touch, UIEvent* event) override;
  void accelerometer(UIAccelerometer*, const UIAcceleration&) override {}

 protected:
  bool isTouchEnabled_ = false;
  bool isAccelerometerEnabled_ = false;
};
