#pragma once
#include <string>

#include "CCLabelTTF.h"
#include "CCLayerColor.h"
#include "NSObject.h"

// A short line of text over the book that fades out after a moment: what a
// key has just switched. A new notice replaces the one showing at once. The
// notice leaves the layer when it has faded, so the scene is as it was.
class ToastNotice : public NSObject {
 public:
  static Ptr<ToastNotice> notice();

  static constexpr ccSeconds kShownFor = 1.2f;
  static constexpr ccSeconds kFadeFor = 0.6f;
  static constexpr GLubyte kBoxOpacity = 150;
  static constexpr float kFontSize = 26;
  static constexpr float kTopMargin = 36;

  std::string className() const override { return "ToastNotice"; }

  // Shows `text` near the top of `layer`, centred.
  void show(CCNode* layer, const std::string& text);
  bool isShowing() const { return box_ && box_->parent(); }
  const std::string& text() const { return text_; }
  // The dark box and the label on it; null before the first notice.
  CCLayerColor* box() const { return box_.get(); }
  CCLabelTTF* label() const { return label_.get(); }

 private:
  bool make(const std::string& text);
  void didFade();

  Ptr<CCLayerColor> box_;
  Ptr<CCLabelTTF> label_;
  std::string text_;
};
