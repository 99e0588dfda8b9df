#include "CC3Actions.h"
#include "CC3PlaneNode.h"
#include "CC3Texture.h"
#include "CCActionInstant.h"
#include "CCActionInterval.h"
#include "EventLog.h"
#include "KstSound.h"
#include "NSUserDefaults.h"
#include "UIDevice.h"
#include "lumoPagePrefetch.h"
#include "lumoWorld.h"

namespace {
const char* const kLanguageKey = lmStageInfo::kLanguageDefaultsKey;
const char* const kMenuName = "menu-lan";
const char* const kRussianTitle = "s1layer3-cn";
const char* const kEnglishTitle = "s1layer5-cn";

// One picture of the language menu: a design size a x b at scale f.
struct MenuPart {
  const char* name;
  double a, b, f;
  const char* file;
  GLuint tag;  // the language a button picks; 0: not a button
  CC3Vec3 location;
};

// In the order they join the menu.
constexpr MenuPart kMenuParts[] = {
    {"menu-btn1", 123, 40, 0.3, "menu-btn.png", lmStageInfo::kLangRussian, {-14, 7.5f, 10}},
    {"menu-btn2", 123, 40, 0.3, "menu-btn.png", lmStageInfo::kLangEnglish, {14, 7.5f, 10}},
    {"menu-btn1-highlighted",
     123,
     40,
     0.3,
     "menu-btn-highlighted.png",
     lmStageInfo::kLangRussian,
     {-14, 7.5f, 10}},
    {"menu-btn2-highlighted",
     123,
     40,
     0.3,
     "menu-btn-highlighted.png",
     lmStageInfo::kLangEnglish,
     {14, 7.5f, 10}},
    {"english-default", 96, 19, 0.255, "english_default.png", 0, {-14, 9.6f, 12}},
    {"chinese-default", 53, 26, 0.255, "chinese_default.png", 0, {13.5f, 9.4f, 12}},
    {"english", 96, 19, 0.255, "english.png", 0, {-14, 9.6f, 12}},
    {"chinese", 53, 26, 0.255, "chinese.png", 0, {13.5f, 9.4f, 12}},
};
constexpr MenuPart kMenuBoard{"menu-lan", 499, 98, 0.3, "menu-lan.png", 0, {0, 55.5f, 350}};
constexpr CC3Vec3 kPhoneMenuLocation{0, 60, 350};

// The images each language selects; the rest of the menu shows its plain side.
constexpr const char* kSelectedRussian[] = {"menu-btn1-highlighted", "english", "menu-btn2",
                                            "chinese-default"};
constexpr const char* kSelectedEnglish[] = {"menu-btn2-highlighted", "chinese", "menu-btn1",
                                            "english-default"};
// With a language that is neither, no button is selected.
constexpr const char* kSelectedNeither[] = {"menu-btn1", "menu-btn2", "english-default",
                                            "chinese-default"};
}  // namespace

// MARK: titles

bool lumoWorld::rockTitle(const std::string& name) {
  CC3Node* title = currentGroundChild(name);
  if (!title) return false;
  auto tilt = CC3RotateBy::actionWithDuration(0.3f, {-10, 0, 0});
  auto back = CC3RotateBy::actionWithDuration(0.3f, {10, 0, 0});
  title->runAction(CCSequence::actionOne(tilt.get(), back.get()).get());
  return true;
}

// A cover left before its title settled has no title on stage: its narration
// must not start over the next page.
void lumoWorld::beginEnShouldAnimation() {
  if (rockTitle(kRussianTitle)) performSelector(SELECTOR(lumoWorld::playAsideSound), 1.0);
}

void lumoWorld::beginCnShouldAnimation() {
  if (rockTitle(kEnglishTitle)) performSelector(SELECTOR(lumoWorld::playAsideSound), 1.0);
}

void lumoWorld::endEnShouldAnimation() {
  rockTitle("s18layer2-cn");
}

void lumoWorld::endCnShouldAnimation() {
  rockTitle("s18layer3-cn");
}

// MARK: changing the language

void lumoWorld::startLanguageChange(CC3Node* button, std::int32_t toLanguage) {
  flashNode(button);
  const bool toEnglish = toLanguage == lmStageInfo::kLangEnglish;
  EventLog::log("language", "changing to " + std::to_string(toLanguage));
  // The old title rises out of sight; its arrival finishes the change, so a
  // change completes only on the cover.
  if (CC3Node* title = currentGroundChild(toEnglish ? kRussianTitle : kEnglishTitle)) {
    auto rise = CC3MoveBy::actionWithDuration(0.5f, {0, 0, 100});
    auto finish =
        CCCallFunc::actionWithTarget(this, toEnglish ? SELECTOR(lumoWorld::endChangeToCnLanguage)
                                                     : SELECTOR(lumoWorld::endChangeToEnLanguage));
    title->runAction(CCSequence::actionOne(rise.get(), finish.get()).get());
  }
  showMenuPairs(toLanguage);
  button->setVisible(false);
}

void lumoWorld::endChangeToEnLanguage() {
  finishLanguageChange(kEnglishTitle, lmStageInfo::kLangRussian);
}

void lumoWorld::endChangeToCnLanguage() {
  finishLanguageChange(kRussianTitle, lmStageInfo::kLangEnglish);
}

void lumoWorld::finishLanguageChange(const std::string& oldTitle, std::int32_t toLanguage) {
  if (CC3Node* title = currentGroundChild(oldTitle)) title->setVisible(false);
  stageInfo_->setCurLangTag(toLanguage);
  EventLog::log("language", "changed to " + std::to_string(toLanguage));
  NSUserDefaults& defaults = NSUserDefaults::standardUserDefaults();
  const std::string value = std::to_string(toLanguage);
  defaults.setObject(value, kLanguageKey);
  defaults.synchronize();
  EventLog::log("language", std::string("stored ") + kLanguageKey + "=" + value);
  playAsideSound();
  // The narrations one turn away are now the other language's.
  lumoPagePrefetch::shared().prefetchSounds(*stage_, stageInfo_->curStageIndex(), toLanguage);
}

// MARK: the menu

void lumoWorld::addMenu() {
  // Built afresh, so its pairs always show the language of the moment.
  if (CC3Node* old = getNodeNamed(kMenuName)) old->remove();
  auto plane = [this](const MenuPart& part) {
    auto node = CC3PlaneNode::nodeWithTag(part.tag ? part.tag : nextPageNodeTag(), part.name);
    const CGSize size{static_cast<float>(part.a * universalScaleWidth_ * part.f),
                      static_cast<float>(part.b * universalScaleHeight_ * part.f)};
    auto texture = CC3Texture::textureFromFile(part.file);
    node->populateAsRectangleWithSize(size, CGPoint{size.width / 2, 0}, texture.get(), true);
    node->setIsOpaque(false);
    node->setIsTouchEnabled(part.tag != 0);
    node->setLocation(part.location);
    return node;
  };
  auto menu = plane(kMenuBoard);
  if (UIDevice::currentDevice().userInterfaceIdiom() != UIUserInterfaceIdiomPad)
    menu->setLocation(kPhoneMenuLocation);
  for (const MenuPart& part : kMenuParts) menu->addChild(plane(part).get());
  addChild(menu.get());
  showMenuPairs(stageInfo_->curLangTag());
}

void lumoWorld::showMenuPairs(std::int32_t language) {
  CC3Node* menu = getNodeNamed(kMenuName);
  if (!menu) return;
  for (const MenuPart& part : kMenuParts)
    if (CC3Node* node = menu->getNodeNamed(part.name)) node->setVisible(false);
  auto show = [menu](const auto& names) {
    for (const char* name : names)
      if (CC3Node* node = menu->getNodeNamed(name)) node->setVisible(true);
  };
  if (language == lmStageInfo::kLangRussian) {
    show(kSelectedRussian);
  } else if (language == lmStageInfo::kLangEnglish) {
    show(kSelectedEnglish);
  } else {
    show(kSelectedNeither);
  }
}
