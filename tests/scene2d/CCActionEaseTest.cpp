#include "CCActionEase.h"

#include <cmath>
#include <functional>

#include "CCActionIntervalTestSupport.h"

namespace {

class CCActionEaseTest : public ActionTest {};

struct CurvePoints {
  const char* name;
  std::function<float(float)> f;
  float at0, atHalf, at1;
};

// Values worked out by hand from the curve formulas.
TEST_F(CCActionEaseTest, CurvesAtZeroHalfAndOne) {
  const CurvePoints curves[] = {
      {"in 2", [](float t) { return ccEaseRateIn(t, 2); }, 0, 0.25f, 1},
      {"in 3", [](float t) { return ccEaseRateIn(t, 3); }, 0, 0.125f, 1},
      {"out 2", [](float t) { return ccEaseRateOut(t, 2); }, 0, 0.70710677f, 1},
      {"inout 2", [](float t) { return ccEaseRateInOut(t, 2); }, 0, 0.5f, 1},
      {"inout 3", [](float t) { return ccEaseRateInOut(t, 3); }, 0, 0.5f, 1},
      {"exp in", ccEaseExponentialIn, 0, 0.03125f - 0.001f, 0.999f},
      {"exp out", ccEaseExponentialOut, 0, 0.96875f, 1},
      {"exp inout", ccEaseExponentialInOut, 0.00048828125f, 0.5f, 0.99951171875f},
      {"sine in", ccEaseSineIn, 0, 0.29289323f, 1},
      {"sine out", ccEaseSineOut, 0, 0.70710677f, 1},
      {"sine inout", ccEaseSineInOut, 0, 0.5f, 1},
      // sin(-12.0428) and sin(8.9012) are both sin(pi / 6) = 0.5.
      {"elastic in", [](float t) { return ccEaseElasticIn(t, 0.3f); }, 0, -0.015625f, 1},
      {"elastic out", [](float t) { return ccEaseElasticOut(t, 0.3f); }, 0, 1.015625f, 1},
      {"elastic inout", [](float t) { return ccEaseElasticInOut(t, 0.3f); }, 0, 0.5f, 1},
      {"bounce in", ccEaseBounceIn, 0, 0.234375f, 1},
      {"bounce out", ccEaseBounceOut, 0, 0.765625f, 1},
      {"bounce inout", ccEaseBounceInOut, 0, 0.5f, 1},
      {"back in", ccEaseBackIn, 0, -0.0876975f, 1},
      {"back out", ccEaseBackOut, 0, 1.0876975f, 1},
      {"back inout", ccEaseBackInOut, 0, 0.5f, 1},
  };
  for (const auto& c : curves) {
    EXPECT_NEAR(c.f(0), c.at0, 1e-6) << c.name;
    EXPECT_NEAR(c.f(0.5f), c.atHalf, 1e-6) << c.name;
    EXPECT_NEAR(c.f(1), c.at1, 1e-6) << c.name;
  }
  // Ends that must be exact, not merely close.
  EXPECT_EQ(ccEaseExponentialOut(1), 1.0f);
  EXPECT_EQ(ccEaseElasticOut(0, 0.3f), 0.0f);
  EXPECT_EQ(ccEaseElasticOut(1, 0.3f), 1.0f);
  EXPECT_EQ(ccEaseSineOut(1), 1.0f);
}

TEST_F(CCActionEaseTest, CurveShapes) {
  float elasticMax = 0, elasticArgMax = 0, backMin = 1, backOutMax = 0;
  for (int i = 0; i <= 1000; ++i) {
    float t = i / 1000.0f;
    float e = ccEaseElasticOut(t, 0.3f);
    if (e > elasticMax) {
      elasticMax = e;
      elasticArgMax = t;
    }
    backMin = std::min(backMin, ccEaseBackIn(t));
    backOutMax = std::max(backOutMax, ccEaseBackOut(t));
  }
  EXPECT_NEAR(elasticMax, 1.37f, 0.01f);
  EXPECT_NEAR(elasticArgMax, 0.135f, 0.01f);
  EXPECT_NEAR(backMin, -0.1f, 0.01f);
  EXPECT_GT(backOutMax, 1.05f);
  // Bounce-out touches 1 at the end of its first arc.
  EXPECT_NEAR(ccBounceTime(1 / 2.75f), 1, 1e-6);
  EXPECT_LT(ccBounceTime(0.8f), 1);
  // Rate in-out: the second half mirrors the first, for whole and
  // fractional rates alike (no NaN from a negative base).
  EXPECT_FLOAT_EQ(ccEaseRateInOut(0.75f, 2), 0.875f);
  EXPECT_FLOAT_EQ(ccEaseRateInOut(0.75f, 3), 0.9375f);
  EXPECT_FLOAT_EQ(ccEaseRateInOut(0.75f, 2.5f), 1 - 0.5f * std::pow(0.5f, 2.5f));
  // A zero elastic period would divide by zero.
  EXPECT_FALSE(std::isnan(ccEaseElasticIn(0.5f, 0)));
  EXPECT_FALSE(std::isnan(ccEaseElasticOut(0.5f, 0)));
}

TEST_F(CCActionEaseTest, EaseDrivesItsInnerActionWithTheCurve) {
  auto node = running(CCNode::node());
  node->runAction(CCEaseIn::actionWithAction(CCMoveBy::actionWithDuration(1, {100, 0}), 2));
  frames(3, 0.25f);  // t = 0, 0.25, 0.5
  EXPECT_FLOAT_EQ(node->position().x, 25);
  frames(2, 0.25f);
  EXPECT_EQ(node->position(), CGPointMake(100, 0));
  EXPECT_EQ(node->numberOfRunningActions(), 0u);

  Log log;
  auto eased = CCEaseSineInOut::actionWithAction(Recorder::make(2, &log, "r"));
  EXPECT_FLOAT_EQ(eased->duration(), 2);
  eased->startWithTarget(node);
  eased->update(0.5f);
  eased->stop();
  EXPECT_EQ(log, (Log{"r:start", "r:0.5", "r:stop"}));
}

TEST_F(CCActionEaseTest, OvershootingCurveSaturatesOpacity) {
  auto node = makeObject<ColorNode>();
  node->setOpacity(0);
  auto fade = CCEaseBackOut::actionWithAction(CCFadeIn::actionWithDuration(1));
  fade->startWithTarget(node);
  fade->update(0.7f);  // back-out is about 1.08 here
  EXPECT_EQ(node->opacity(), 255);
  auto sink = CCEaseBackIn::actionWithAction(CCFadeIn::actionWithDuration(1));
  sink->startWithTarget(node);
  sink->update(0.2f);  // back-in dips below 0
  EXPECT_EQ(node->opacity(), 0);
}

TEST_F(CCActionEaseTest, ReversesPairTheCurvesAndReverseTheInnerAction) {
  auto move = [] { return CCMoveBy::actionWithDuration(1, {10, 0}); };
  struct Pair {
    Ptr<CCActionEase> ease;
    const char* reverseClass;
  };
  const Pair pairs[] = {
      {CCActionEase::actionWithAction(move()), "CCActionEase"},
      {CCEaseInOut::actionWithAction(move(), 3), "CCEaseInOut"},
      {CCEaseExponentialIn::actionWithAction(move()), "CCEaseExponentialOut"},
      {CCEaseExponentialOut::actionWithAction(move()), "CCEaseExponentialIn"},
      {CCEaseExponentialInOut::actionWithAction(move()), "CCEaseExponentialInOut"},
      {CCEaseSineIn::actionWithAction(move()), "CCEaseSineOut"},
      {CCEaseSineOut::actionWithAction(move()), "CCEaseSineIn"},
      {CCEaseSineInOut::actionWithAction(move()), "CCEaseSineInOut"},
      {CCEaseElasticIn::actionWithAction(move(), 0.4f), "CCEaseElasticOut"},
      {CCEaseElasticOut::actionWithAction(move()), "CCEaseElasticIn"},
      {CCEaseElasticInOut::actionWithAction(move()), "CCEaseElasticInOut"},
      {CCEaseBounceIn::actionWithAction(move()), "CCEaseBounceOut"},
      {CCEaseBounceOut::actionWithAction(move()), "CCEaseBounceIn"},
      {CCEaseBounceInOut::actionWithAction(move()), "CCEaseBounceInOut"},
      {CCEaseBackIn::actionWithAction(move()), "CCEaseBackOut"},
      {CCEaseBackOut::actionWithAction(move()), "CCEaseBackIn"},
      {CCEaseBackInOut::actionWithAction(move()), "CCEaseBackInOut"},
  };
  for (const auto& pair : pairs) {
    auto reversed = dynamicPtrCast<CCActionEase>(pair.ease->reverse());
    ASSERT_TRUE(reversed) << pair.reverseClass;
    EXPECT_EQ(reversed->className(), pair.reverseClass);
    auto inner = dynamic_cast<CCMoveBy*>(reversed->other());
    ASSERT_NE(inner, nullptr);
    auto node = CCNode::node();
    inner->startWithTarget(node);
    inner->update(1);
    EXPECT_EQ(node->position(), CGPointMake(-10, 0)) << pair.reverseClass;
  }
  auto elastic = dynamicPtrCast<CCEaseElastic>(pairs[8].ease->reverse());
  EXPECT_FLOAT_EQ(elastic->period(), 0.4f);

  auto easeIn = CCEaseIn::actionWithAction(move(), 2);
  auto easeInReversed = dynamicPtrCast<CCEaseIn>(easeIn->reverse());
  ASSERT_TRUE(easeInReversed);
  EXPECT_FLOAT_EQ(easeInReversed->rate(), 0.5f);
  auto easeOutReversed =
      dynamicPtrCast<CCEaseOut>(CCEaseOut::actionWithAction(move(), 4)->reverse());
  ASSERT_TRUE(easeOutReversed);
  EXPECT_FLOAT_EQ(easeOutReversed->rate(), 0.25f);
  EXPECT_FLOAT_EQ(
      dynamicPtrCast<CCEaseInOut>(CCEaseInOut::actionWithAction(move(), 3)->reverse())->rate(), 3);
}

TEST_F(CCActionEaseTest, CopiesKeepParametersAndOwnTheirInnerAction) {
  auto inner = CCMoveBy::actionWithDuration(2, {10, 0});
  auto elastic = CCEaseElasticInOut::actionWithAction(inner, 0.7f);
  elastic->setTag(3);
  auto copy = copyAction(elastic.get());
  EXPECT_EQ(copy->className(), "CCEaseElasticInOut");
  EXPECT_FLOAT_EQ(copy->period(), 0.7f);
  EXPECT_FLOAT_EQ(copy->duration(), 2);
  EXPECT_EQ(copy->tag(), 3);
  EXPECT_NE(copy->other(), inner.get());
  auto rate = copyAction(CCEaseOut::actionWithAction(inner, 5).get());
  EXPECT_FLOAT_EQ(rate->rate(), 5);
  EXPECT_EQ(rate->className(), "CCEaseOut");
}

TEST_F(CCActionEaseTest, MisuseAndDefaults) {
  EXPECT_ASSERTION(CCEaseSineIn::actionWithAction(nullptr), "Ease: arguments must be non-nil");
  EXPECT_ASSERTION(CCEaseIn::actionWithAction(nullptr, 2), "Ease: arguments must be non-nil");
  auto move = CCMoveBy::actionWithDuration(1, {10, 0});
  auto base = CCEaseElastic::actionWithAction(move);
  EXPECT_FLOAT_EQ(base->period(), 0.3f);
  EXPECT_ASSERTION(base->reverse(), "Override me");
  // A zero period is replaced (and kept) by the in-out curve's default.
  auto node = CCNode::node();
  auto inOut = CCEaseElasticInOut::actionWithAction(move, 0);
  inOut->startWithTarget(node);
  inOut->update(0.3f);
  EXPECT_FLOAT_EQ(inOut->period(), 0.45f);
  EXPECT_FALSE(std::isnan(node->position().x));
}

}  // namespace
