#pragma once
#include <GLES/gl.h>

#include "ControllableCCLayer.h"

class CC3World;

// The 2D layer that hosts a 3D world: it passes the scheduler's update and
// the 2D draw to the world, and the touches it receives inside its bounds.
// The application schedules the layer's update itself, once, after setting
// the world.
class CC3Layer : public ControllableCCLayer {
 public:
  static Ptr<CC3Layer> node();
  static Ptr<CC3Layer> layerWithColor(ccColor4B color, float width, float height);
  CC3Layer();
  CC3Layer(ccColor4B color, float width, float height);
  ~CC3Layer() override;

  CC3World* cc3World() const { return cc3World_.get(); }
  void setCc3World(CC3World* world);

  void update(ccSeconds dt) override;
  void draw() override;
  // The base layer's colour fill behind the world.
  void drawBackdrop();
  void drawWorld();

  // Gives the world's viewport manager the layer's box in pixels and the
  // director's device orientation.
  void updateViewport();
  void onEnter() override;
  void deviceOrientationDidChange(UIDeviceOrientation orientation) override;

  // Runs from this class's constructor, where virtual calls stop at this
  // class: a subclass that overrides initializeControls calls it from its
  // own constructor (or its own initInitialState).
  void initInitialState() override;
  virtual void initializeControls() { initializeContols(); }
  virtual void initializeContols() {}

  int touchPriority() const { return 0; }
  void registerWithTouchDispatcher() override;
  bool ccTouchBegan(UITouch* touch, UIEvent* event) override;
  void ccTouchEnded(UITouch* touch, UIEvent* event) override;
  void ccTouchCancelled(UITouch* touch, UIEvent* event) override;
  // Passes a touch inside the layer to the world; whether it was inside.
  virtual bool handleTouch(UITouch* touch, GLuint touchType);

  std::string description() const override { return className(); }

 protected:
  void didUpdateHomeContentSizeFrom(CGSize oldSize) override;

 private:
  Ptr<CC3World> cc3World_;
};
