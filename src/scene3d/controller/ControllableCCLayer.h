#pragma once
#include "CCLayerColor.h"
#include "ControlledCCNodeProtocol.h"

// A coloured layer that a CCNodeController can run. It remembers its size
// as seen in portrait (the home size) and turns its content size with the
// device between portrait and landscape.
class ControllableCCLayer : public CCLayerColor, public ControlledCCNodeProtocol {
 public:
  static Ptr<ControllableCCLayer> node();
  static Ptr<ControllableCCLayer> layerWithColor(ccColor4B color, float width, float height);
  // Without a background colour.
  ControllableCCLayer();
  ControllableCCLayer(ccColor4B color, float width, float height);
  ~ControllableCCLayer() override;

  // Run by the constructor of the class that defines it; an override in a
  // subclass sets only that subclass's state (the base part has run).
  virtual void initInitialState();

  CCNodeController* controller() const override { return controller_; }
  void setController(CCNodeController* controller) override { controller_ = controller; }
  CGSize homeContentSize() const { return homeContentSize_; }
  bool isColored() const { return isColored_; }
  bool alignContentSizeWithDeviceOrientation() const {
    return alignContentSizeWithDeviceOrientation_;
  }
  void setAlignContentSizeWithDeviceOrientation(bool align) {
    alignContentSizeWithDeviceOrientation_ = align;
  }
  virtual bool isOverlayingDeviceCamera() const { return false; }

  void setContentSize(CGSize size) override;
  void deviceOrientationDidChange(UIDeviceOrientation orientation) override;
  void draw() override;
  void onEnter() override;
  void onExit() override;

 protected:
  virtual void didUpdateContentSizeFrom(CGSize oldSize);
  // Subclasses react to a changed home size.
  virtual void didUpdateHomeContentSizeFrom(CGSize) {}

  CCNodeController* controller_ = nullptr;  // not retained
  CGSize homeContentSize_ = CGSizeZero;
  bool isColored_ = false;
  bool alignContentSizeWithDeviceOrientation_ = false;
};
