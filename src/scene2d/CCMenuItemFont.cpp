#include "CCMenuItemFont.h"

#include <utility>

#include "Assert.h"
#include "CCLabelTTF.h"

namespace {
int gFontSize = 32;

std::string& fontNameStorage() {
  static std::string name = "Marker Felt";
  return name;
}

Ptr<CCLabelTTF> labelFor(const std::string& value) {
  CCAssert(!value.empty(), "Value length must be greater than 0");
  return CCLabelTTF::labelWithString(value, fontNameStorage(), float(gFontSize));
}
}  // namespace

Ptr<CCMenuItemFont> CCMenuItemFont::itemFromString(const std::string& value) {
  return itemFromString(value, nullptr, Selector<NSObject*>());
}

Ptr<CCMenuItemFont> CCMenuItemFont::itemFromString(const std::string& value, NSObject* target,
                                                   Selector<NSObject*> selector) {
  auto item = makeObject<CCMenuItemFont>();
  return item->initFromString(value, target, selector) ? item : nullptr;
}

Ptr<CCMenuItemFont> CCMenuItemFont::itemFromString(const std::string& value,
                                                   CCMenuItemBlock block) {
  auto item = makeObject<CCMenuItemFont>();
  return item->initFromString(value, std::move(block)) ? item : nullptr;
}

bool CCMenuItemFont::initFromString(const std::string& value, NSObject* target,
                                    Selector<NSObject*> selector) {
  auto label = labelFor(value);
  return label && initWithLabel(label, target, selector);
}

bool CCMenuItemFont::initFromString(const std::string& value, CCMenuItemBlock block) {
  auto label = labelFor(value);
  return label && initWithLabel(label, std::move(block));
}

void CCMenuItemFont::setFontSize(int size) {
  gFontSize = size;
}

int CCMenuItemFont::fontSize() {
  return gFontSize;
}

void CCMenuItemFont::setFontName(const std::string& name) {
  fontNameStorage() = name;
}

const std::string& CCMenuItemFont::fontName() {
  return fontNameStorage();
}
