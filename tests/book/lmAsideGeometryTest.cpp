#include "lmAsideGeometry.h"

#include <gtest/gtest.h>

namespace {
constexpr float kScaleWidth = 0.46875f;
constexpr float kScaleHeight = 0.41666666f;

TEST(lmAsideGeometry, PanelSpansTheLongSideOfTabletAndPhone) {
  const CGSize tablet = lmAsideGeometry::panelSize(1024, kScaleWidth, kScaleHeight);
  EXPECT_FLOAT_EQ(tablet.width, 72);
  EXPECT_FLOAT_EQ(tablet.height, 9.4375f);
  const CGSize phone = lmAsideGeometry::panelSize(480, kScaleWidth, kScaleHeight);
  EXPECT_FLOAT_EQ(phone.width, 33.75f);
  EXPECT_FLOAT_EQ(phone.height, 9.4375f);

  const CGSize repeat = lmAsideGeometry::repeatButtonSize(kScaleWidth, kScaleHeight);
  EXPECT_FLOAT_EQ(repeat.width, 1.5f);
  EXPECT_NEAR(repeat.height, 1.3333333, 1e-5);
  const CGSize hint = lmAsideGeometry::dialogueHintSize(kScaleWidth, kScaleHeight);
  EXPECT_FLOAT_EQ(hint.width, 15.9375f);
  EXPECT_NEAR(hint.height, 14.583333, 1e-4);

  EXPECT_EQ(lmAsideGeometry::fontSize(true), 30);
  EXPECT_EQ(lmAsideGeometry::fontSize(false), 20);
  EXPECT_EQ(lmAsideGeometry::textBox(1024), CGSizeMake(1024, 200));
}

struct TabletRow {
  float measured, adjusted;
  CGPoint offset;
};

TEST(lmAsideGeometry, TabletHeightsMoveTextButtonAndSlide) {
  for (const TabletRow& row : {TabletRow{108, 132, {-20, -1}}, TabletRow{144, 132.5f, {-20, -7}},
                               TabletRow{72, 130, {-20, 12}}, TabletRow{36, 129, {-20, 19}}}) {
    const lmAsideGeometry g = lmAsideGeometry::forTextHeight(row.measured, true);
    EXPECT_FLOAT_EQ(g.adjustedHeight, row.adjusted) << row.measured;
    EXPECT_FLOAT_EQ(g.slide(), row.adjusted - 110) << row.measured;
    EXPECT_EQ(g.billboardOffset, row.offset) << row.measured;
    EXPECT_FLOAT_EQ(g.repeatLocation.y, 5) << row.measured;
    EXPECT_FLOAT_EQ(g.repeatLocation.x, 21);
    EXPECT_FLOAT_EQ(g.repeatLocation.z, 10);
  }
}

TEST(lmAsideGeometry, HeightsOutsideTheTableKeepTheDefaults) {
  // Five lines, nothing measured, and a phone height on a tablet.
  for (float h : {180.f, 0.f, 120.f, 109.f}) {
    const lmAsideGeometry g = lmAsideGeometry::forTextHeight(h, true);
    EXPECT_FLOAT_EQ(g.adjustedHeight, h);
    EXPECT_EQ(g.billboardOffset, CGPointMake(-12, 0));
    EXPECT_FLOAT_EQ(g.repeatLocation.y, 6);
  }
  // Below 110 the panel slides down.
  EXPECT_FLOAT_EQ(lmAsideGeometry::forTextHeight(0, true).slide(), -110);
}

TEST(lmAsideGeometry, PhoneHeightsChangeOnlyTheSlide) {
  const float measured[] = {120, 96, 72, 48, 24, 108};
  const float adjusted[] = {143, 141, 140, 140, 84, 108};
  for (int i = 0; i < 6; ++i) {
    const lmAsideGeometry g = lmAsideGeometry::forTextHeight(measured[i], false);
    EXPECT_FLOAT_EQ(g.adjustedHeight, adjusted[i]) << measured[i];
    EXPECT_EQ(g.billboardOffset, CGPointMake(-12, 0));
    EXPECT_FLOAT_EQ(g.repeatLocation.y, 6);
  }
  // From the panel's place at y = 60 a phone text of 120 ends at y = 93.
  EXPECT_FLOAT_EQ(60 + lmAsideGeometry::forTextHeight(120, false).slide(), 93);
}
}  // namespace
