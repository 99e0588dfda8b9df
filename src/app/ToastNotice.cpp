#include "ToastNotice.h"

#include "CCActionInstant.h"
#include "CCActionInterval.h"

namespace {
constexpr const char* kFont = "ArialRoundedMTBold";
constexpr float kPaddingX = 22, kPaddingY = 10;
constexpr int kOnTop = 1000;
}  // namespace

Ptr<ToastNotice> ToastNotice::notice() {
  return makeObject<ToastNotice>();
}

bool ToastNotice::make(const std::string& text) {
  if (label_) {
    label_->setString(text);
    return true;
  }
  label_ = CCLabelTTF::labelWithString(text, kFont, kFontSize);
  if (!label_) return false;  // no font: the switch still works, unseen
  box_ = CCLayerColor::layerWithColor(ccc4(0, 0, 0, kBoxOpacity));
  box_->addChild(label_.get());
  return true;
}

void ToastNotice::show(CCNode* layer, const std::string& text) {
  text_ = text;
  if (!layer || !make(text)) return;
  if (box_->parent() != layer) {
    if (box_->parent()) box_->removeFromParentAndCleanup(true);
    layer->addChild(box_.get(), kOnTop);
  }
  const CGSize textSize = label_->contentSize();
  const CGSize boxSize{textSize.width + 2 * kPaddingX, textSize.height + 2 * kPaddingY};
  const CGSize area = layer->contentSize();
  box_->setContentSize(boxSize);
  box_->setPosition(
      CGPointMake((area.width - boxSize.width) / 2, area.height - kTopMargin - boxSize.height));
  label_->setPosition(CGPointMake(boxSize.width / 2, boxSize.height / 2));

  box_->stopAllActions();
  label_->stopAllActions();
  box_->setOpacity(kBoxOpacity);
  label_->setOpacity(255);
  box_->runAction(CCSequence::actions(
                      {CCDelayTime::actionWithDuration(kShownFor).get(),
                       CCFadeTo::actionWithDuration(kFadeFor, 0).get(),
                       CCCallFunc::actionWithTarget(this, SELECTOR(ToastNotice::didFade)).get()})
                      .get());
  label_->runAction(CCSequence::actions({CCDelayTime::actionWithDuration(kShownFor).get(),
                                         CCFadeTo::actionWithDuration(kFadeFor, 0).get()})
                        .get());
}

void ToastNotice::didFade() {
  if (box_ && box_->parent()) box_->removeFromParentAndCleanup(true);
}
