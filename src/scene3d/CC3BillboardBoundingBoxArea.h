#pragma once
#include "CC3NodeBoundingArea.h"

class CCNode;

// The pixel bounding box of a billboard's 2D node.
class CC3BillboardBoundingBoxArea : public CC3NodeBoundingArea {
 public:
  static Ptr<CC3BillboardBoundingBoxArea> boundingVolume();
  void buildVolume() override { volumeNeedsBuilding_ = false; }
  void transformVolume() override {}
  bool doesIntersectBounds(CGRect bounds) override;
  std::string description() const override;

 protected:
  CC3NodeBoundingVolume* newInstance() const override { return new CC3BillboardBoundingBoxArea(); }

 private:
  CCNode* billboardNode() const;
};
