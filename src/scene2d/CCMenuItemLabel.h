#pragma once
#include <string>

#include "CCMenuItem.h"
#include "CCProtocols.h"

// An item showing a label node (held as child). Pressing it zooms the item
// to 1.2 times its scale; releasing zooms it back. A disabled item shows
// its label in the disabled colour.
class CCMenuItemLabel : public CCMenuItem, public CCRGBAProtocol {
 public:
  static Ptr<CCMenuItemLabel> itemWithLabel(CCNode* label);
  static Ptr<CCMenuItemLabel> itemWithLabel(CCNode* label, NSObject* target,
                                            Selector<NSObject*> selector);
  static Ptr<CCMenuItemLabel> itemWithLabel(CCNode* label, CCMenuItemBlock block);

  bool initWithLabel(CCNode* label, NSObject* target, Selector<NSObject*> selector);
  bool initWithLabel(CCNode* label, CCMenuItemBlock block);

  CCNode* label() const { return label_.get(); }
  void setLabel(CCNode* label);
  // Changes the text of a text label and takes its new size.
  void setString(const std::string& string);
  ccColor3B disabledColor() const { return disabledColor_; }
  void setDisabledColor(ccColor3B color) { disabledColor_ = color; }

  void selected() override;
  void unselected() override;
  void activate() override;
  void setIsEnabled(bool enabled) override;

  ccColor3B color() const override;
  void setColor(ccColor3B color) override;
  GLubyte opacity() const override;
  void setOpacity(GLubyte opacity) override;

 protected:
  Ptr<CCNode> label_;
  ccColor3B colorBackup = ccWHITE;
  ccColor3B disabledColor_ = {126, 126, 126};
  float originalScale_ = 1;
};
