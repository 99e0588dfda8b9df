#pragma once
#include "CC3Foundation.h"
#include "CGGeometry.h"

// Where the narration panel and its parts go. The panel spans the screen's
// long side; the measured height of its text decides how far the panel slides
// up after fading in and, on a tablet, where the text and the repeat button sit.
class lmAsideGeometry {
 public:
  // The panel plane, in world units, for a screen whose long side is `screenLongSide` points.
  static CGSize panelSize(float screenLongSide, float scaleWidth, float scaleHeight);
  static CGSize repeatButtonSize(float scaleWidth, float scaleHeight);
  static CGSize dialogueHintSize(float scaleWidth, float scaleHeight);
  static float fontSize(bool tablet);
  // The box the text is measured in: the long side by 200 points.
  static CGSize textBox(float screenLongSide);
  static lmAsideGeometry forTextHeight(float measuredHeight, bool tablet);

  float adjustedHeight = 0;
  CGPoint billboardOffset{-12, 0};
  CC3Vec3 repeatLocation{21, 6, 10};

  // How far the panel rises once it has faded in.
  float slide() const { return adjustedHeight - 110; }
};
