#include "lmAsideGeometry.h"

namespace {
struct HeightRow {
  float measured;
  float adjusted;
  CGPoint offset;
};

// Tablet rows move the text and the repeat button too; phone rows only the slide.
constexpr HeightRow kTabletRows[] = {
    {108, 132, {-20, -1}},
    {144, 132.5f, {-20, -7}},
    {72, 130, {-20, 12}},
    {36, 129, {-20, 19}},
};
constexpr HeightRow kPhoneRows[] = {
    {120, 143, {}}, {96, 141, {}}, {72, 140, {}}, {48, 140, {}}, {24, 84, {}},
};
constexpr CC3Vec3 kTabletRepeatLocation{21, 5, 10};
}  // namespace

// The products are formed in double and stored as float, as the panel's picture sizes were.
CGSize lmAsideGeometry::panelSize(float screenLongSide, float scaleWidth, float scaleHeight) {
  return {static_cast<float>(double(screenLongSide) * scaleWidth * 0.15),
          static_cast<float>(double(scaleHeight) * 151 * 0.15)};
}

CGSize lmAsideGeometry::repeatButtonSize(float scaleWidth, float scaleHeight) {
  return {static_cast<float>(32 * double(scaleWidth) * 0.1),
          static_cast<float>(32 * double(scaleHeight) * 0.1)};
}

CGSize lmAsideGeometry::dialogueHintSize(float scaleWidth, float scaleHeight) {
  return {34 * scaleWidth, 35 * scaleHeight};
}

float lmAsideGeometry::fontSize(bool tablet) {
  return tablet ? 30 : 20;
}

CGSize lmAsideGeometry::textBox(float screenLongSide) {
  return {screenLongSide, 200};
}

lmAsideGeometry lmAsideGeometry::forTextHeight(float measuredHeight, bool tablet) {
  lmAsideGeometry geometry;
  geometry.adjustedHeight = measuredHeight;
  if (tablet) {
    for (const HeightRow& row : kTabletRows) {
      if (row.measured != measuredHeight) continue;
      geometry.adjustedHeight = row.adjusted;
      geometry.billboardOffset = row.offset;
      geometry.repeatLocation = kTabletRepeatLocation;
    }
  } else {
    for (const HeightRow& row : kPhoneRows)
      if (row.measured == measuredHeight) geometry.adjustedHeight = row.adjusted;
  }
  return geometry;
}
