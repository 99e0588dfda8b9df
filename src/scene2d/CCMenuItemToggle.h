#pragma once
#include <vector>

#include "CCArray.h"
#include "CCMenuItem.h"
#include "CCProtocols.h"

// An item that shows one of its sub-items at a time and steps to the next
// one each time it is activated, before making its call.
class CCMenuItemToggle : public CCMenuItem, public CCRGBAProtocol {
 public:
  static Ptr<CCMenuItemToggle> itemWithTarget(NSObject* target, Selector<NSObject*> selector,
                                              const std::vector<CCMenuItem*>& items);
  static Ptr<CCMenuItemToggle> itemWithBlock(CCMenuItemBlock block,
                                             const std::vector<CCMenuItem*>& items);

  bool initWithTarget(NSObject* target, Selector<NSObject*> selector,
                      const std::vector<CCMenuItem*>& items);
  bool initWithBlock(CCMenuItemBlock block, const std::vector<CCMenuItem*>& items);

  unsigned selectedIndex() const { return selectedIndex_; }
  void setSelectedIndex(unsigned index);
  // The sub-item shown, or none when there are no sub-items.
  CCMenuItem* selectedItem() const;
  CCArray* subItems() const { return subItems_.get(); }

  void selected() override;
  void unselected() override;
  void activate() override;
  void setIsEnabled(bool enabled) override;

  ccColor3B color() const override { return color_; }
  void setColor(ccColor3B color) override;
  GLubyte opacity() const override { return opacity_; }
  void setOpacity(GLubyte opacity) override;

 private:
  void takeItems(const std::vector<CCMenuItem*>& items);

  unsigned selectedIndex_ = 0;
  Ptr<CCArray> subItems_;
  GLubyte opacity_ = 255;
  ccColor3B color_ = ccWHITE;
};
