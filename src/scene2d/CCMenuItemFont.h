#pragma once
#include <string>

#include "CCMenuItemLabel.h"

// A label item whose label is a text in the class-wide font and size.
class CCMenuItemFont : public CCMenuItemLabel {
 public:
  static Ptr<CCMenuItemFont> itemFromString(const std::string& value);
  static Ptr<CCMenuItemFont> itemFromString(const std::string& value, NSObject* target,
                                            Selector<NSObject*> selector);
  static Ptr<CCMenuItemFont> itemFromString(const std::string& value, CCMenuItemBlock block);

  bool initFromString(const std::string& value, NSObject* target, Selector<NSObject*> selector);
  bool initFromString(const std::string& value, CCMenuItemBlock block);

  // Used by items created afterwards.
  static void setFontSize(int size);
  static int fontSize();
  static void setFontName(const std::string& name);
  static const std::string& fontName();
};
