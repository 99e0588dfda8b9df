#pragma once
#include <string>

#include "CCMenuItemSprite.h"

// A sprite item whose three looks are pictures read from files. A normal
// picture that cannot be read yields no item; a missing selected or
// disabled picture leaves that look out.
class CCMenuItemImage : public CCMenuItemSprite {
 public:
  static Ptr<CCMenuItemImage> itemFromNormalImage(const std::string& normal,
                                                  const std::string& selected);
  static Ptr<CCMenuItemImage> itemFromNormalImage(const std::string& normal,
                                                  const std::string& selected, NSObject* target,
                                                  Selector<NSObject*> selector);
  static Ptr<CCMenuItemImage> itemFromNormalImage(const std::string& normal,
                                                  const std::string& selected,
                                                  const std::string& disabled);
  static Ptr<CCMenuItemImage> itemFromNormalImage(const std::string& normal,
                                                  const std::string& selected,
                                                  const std::string& disabled, NSObject* target,
                                                  Selector<NSObject*> selector);
  static Ptr<CCMenuItemImage> itemFromNormalImage(const std::string& normal,
                                                  const std::string& selected,
                                                  CCMenuItemBlock block);
  static Ptr<CCMenuItemImage> itemFromNormalImage(const std::string& normal,
                                                  const std::string& selected,
                                                  const std::string& disabled,
                                                  CCMenuItemBlock block);

  // Empty names stand for no picture.
  bool initFromNormalImage(const std::string& normal, const std::string& selected,
                           const std::string& disabled, NSObject* target,
                           Selector<NSObject*> selector);
  bool initFromNormalImage(const std::string& normal, const std::string& selected,
                           const std::string& disabled, CCMenuItemBlock block);
};
