#include "PictureMapping.h"

CGPoint PictureMapping::pictureToScreen(CGPoint p, int heldOrientation) {
  switch (heldOrientation) {
    case 1:
      return p;
    case 2:
      return {kShort - p.x, kLong - p.y};
    case 4:
      return {p.y, kLong - p.x};
    default:  // 3, landscape left: the screen's top is on the reader's left
      return {kShort - p.y, p.x};
  }
}

CGPoint PictureMapping::screenToPicture(CGPoint s, int heldOrientation) {
  switch (heldOrientation) {
    case 1:
      return s;
    case 2:
      return {kShort - s.x, kLong - s.y};
    case 4:
      return {kLong - s.y, s.x};
    default:
      return {s.y, kShort - s.x};
  }
}

CGSize PictureMapping::pictureSize(int heldOrientation) {
  return heldOrientation == 1 || heldOrientation == 2 ? CGSize{kShort, kLong}
                                                      : CGSize{kLong, kShort};
}
