#pragma once
#include "CC3Layer.h"

// The 2D layer that hosts the book's world: touch handling on, and every
// phase of a touch, moves included, passed to the world.
class lumoLayer : public CC3Layer {
 public:
  static Ptr<lumoLayer> node();
  static Ptr<lumoLayer> layerWithColor(ccColor4B color, float width, float height);
  lumoLayer();
  lumoLayer(ccColor4B color, float width, float height);

  std::string className() const override { return "lumoLayer"; }

  void initializeControls() override;
  bool ccTouchBegan(UITouch* touch, UIEvent* event) override;
  // The base layer has none: without it no drag would reach the world.
  void ccTouchMoved(UITouch* touch, UIEvent* event) override;
  void ccTouchEnded(UITouch* touch, UIEvent* event) override;

  CC3World* mashUpWorld() const { return cc3World(); }
};
