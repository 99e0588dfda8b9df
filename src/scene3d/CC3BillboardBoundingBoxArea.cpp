#include "CC3BillboardBoundingBoxArea.h"

#include <cstdio>

#include "CC3Billboard.h"
#include "CCNode.h"

namespace {

bool rectsIntersect(const CGRect& a, const CGRect& b) {
  return a.origin.x < b.origin.x + b.size.width && b.origin.x < a.origin.x + a.size.width &&
         a.origin.y < b.origin.y + b.size.height && b.origin.y < a.origin.y + a.size.height;
}

std::string stringFromRect(const CGRect& r) {
  char text[128];
  std::snprintf(text, sizeof text, "{{%g, %g}, {%g, %g}}", r.origin.x, r.origin.y, r.size.width,
                r.size.height);
  return text;
}

}  // namespace

Ptr<CC3BillboardBoundingBoxArea> CC3BillboardBoundingBoxArea::boundingVolume() {
  return makeObject<CC3BillboardBoundingBoxArea>();
}

CCNode* CC3BillboardBoundingBoxArea::billboardNode() const {
  auto* billboard = dynamic_cast<CC3Billboard*>(node_);
  return billboard ? billboard->billboard() : nullptr;
}

bool CC3BillboardBoundingBoxArea::doesIntersectBounds(CGRect bounds) {
  CCNode* node2d = billboardNode();
  return node2d && rectsIntersect(node2d->boundingBoxInPixels(), bounds);
}

std::string CC3BillboardBoundingBoxArea::description() const {
  CCNode* node2d = billboardNode();
  return className() + " with bounding box: " +
         (node2d ? stringFromRect(node2d->boundingBoxInPixels()) : std::string("none"));
}
