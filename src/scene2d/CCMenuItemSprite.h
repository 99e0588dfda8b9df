#pragma once
#include "CCMenuItem.h"
#include "CCProtocols.h"

// An item showing one of three nodes (normal, selected, disabled), held as
// children; only the normal one is required. Nodes that take colour and
// opacity receive the item's.
class CCMenuItemSprite : public CCMenuItem, public CCRGBAProtocol {
 public:
  static Ptr<CCMenuItemSprite> itemFromNormalSprite(CCNode* normal, CCNode* selected);
  static Ptr<CCMenuItemSprite> itemFromNormalSprite(CCNode* normal, CCNode* selected,
                                                    NSObject* target, Selector<NSObject*> selector);
  static Ptr<CCMenuItemSprite> itemFromNormalSprite(CCNode* normal, CCNode* selected,
                                                    CCNode* disabled, NSObject* target,
                                                    Selector<NSObject*> selector);
  static Ptr<CCMenuItemSprite> itemFromNormalSprite(CCNode* normal, CCNode* selected,
                                                    CCMenuItemBlock block);
  static Ptr<CCMenuItemSprite> itemFromNormalSprite(CCNode* normal, CCNode* selected,
                                                    CCNode* disabled, CCMenuItemBlock block);

  // False without a normal node (a picture that failed to load).
  bool initFromNormalSprite(CCNode* normal, CCNode* selected, CCNode* disabled, NSObject* target,
                            Selector<NSObject*> selector);
  bool initFromNormalSprite(CCNode* normal, CCNode* selected, CCNode* disabled,
                            CCMenuItemBlock block);

  CCNode* normalImage() const { return normalImage_.get(); }
  void setNormalImage(CCNode* image);
  CCNode* selectedImage() const { return selectedImage_.get(); }
  void setSelectedImage(CCNode* image);
  CCNode* disabledImage() const { return disabledImage_.get(); }
  void setDisabledImage(CCNode* image);

  void selected() override;
  void unselected() override;
  void setIsEnabled(bool enabled) override;

  ccColor3B color() const override;
  void setColor(ccColor3B color) override;
  GLubyte opacity() const override;
  void setOpacity(GLubyte opacity) override;

 protected:
  bool takeImages(CCNode* normal, CCNode* selected, CCNode* disabled);
  void replaceImage(Ptr<CCNode>& slot, CCNode* image, bool visible);
  void showOnly(CCNode* shown);

  Ptr<CCNode> normalImage_, selectedImage_, disabledImage_;
};
