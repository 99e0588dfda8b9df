#include "lumoLanguageMenu.h"

#include <optional>

#include "CC3PlaneNode.h"
#include "CC3Texture.h"
#include "EventLog.h"
#include "KstSound.h"
#include "UIDevice.h"
#include "lumoNodeActions.h"
#include "lumoPagePrefetch.h"
#include "lumoWorld.h"

namespace {
// One picture of the language menu: a design size a x b at scale f.
struct MenuPart {
  const char* name;
  double a, b, f;
  const char* file;
  std::optional<lumoControl> button;  // none: a picture only
  CC3Vec3 location;
};

constexpr std::optional<lumoControl> kRussian = lumoControl::kRussian;
constexpr std::optional<lumoControl> kEnglish = lumoControl::kEnglish;
constexpr std::optional<lumoControl> kPicture = std::nullopt;

// In the order they join the menu.
constexpr MenuPart kMenuParts[] = {
    {"menu-btn1", 123, 40, 0.3, "menu-btn.png", kRussian, {-14, 7.5f, 10}},
    {"menu-btn2", 123, 40, 0.3, "menu-btn.png", kEnglish, {14, 7.5f, 10}},
    {"menu-btn1-highlighted", 123, 40, 0.3, "menu-btn-highlighted.png", kRussian, {-14, 7.5f, 10}},
    {"menu-btn2-highlighted", 123, 40, 0.3, "menu-btn-highlighted.png", kEnglish, {14, 7.5f, 10}},
    {"english-default", 96, 19, 0.255, "english_default.png", kPicture, {-14, 9.6f, 12}},
    {"chinese-default", 53, 26, 0.255, "chinese_default.png", kPicture, {13.5f, 9.4f, 12}},
    {"english", 96, 19, 0.255, "english.png", kPicture, {-14, 9.6f, 12}},
    {"chinese", 53, 26, 0.255, "chinese.png", kPicture, {13.5f, 9.4f, 12}},
};
constexpr MenuPart kMenuBoard{
    lumoLanguageMenu::kMenuName, 499, 98, 0.3, "menu-lan.png", kPicture, {0, 55.5f, 350}};
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

void lumoLanguageMenu::add() {
  if (CC3Node* old = world_.getNodeNamed(kMenuName)) old->remove();
  const float scaleWidth = world_.universalScaleWidth();
  const float scaleHeight = world_.universalScaleHeight();
  auto plane = [&](const MenuPart& part) {
    const GLuint tag =
        part.button ? lumoControlTable::tagOf(*part.button) : lumoWorld::nextPageNodeTag();
    auto node = CC3PlaneNode::nodeWithTag(tag, part.name);
    const CGSize size{static_cast<float>(part.a * scaleWidth * part.f),
                      static_cast<float>(part.b * scaleHeight * part.f)};
    auto texture = CC3Texture::textureFromFile(part.file);
    node->populateAsRectangleWithSize(size, CGPoint{size.width / 2, 0}, texture.get(), true);
    node->setIsOpaque(false);
    node->setIsTouchEnabled(part.button.has_value());
    node->setLocation(part.location);
    return node;
  };
  auto menu = plane(kMenuBoard);
  if (UIDevice::currentDevice().userInterfaceIdiom() != UIUserInterfaceIdiomPad)
    menu->setLocation(kPhoneMenuLocation);
  for (const MenuPart& part : kMenuParts) menu->addChild(plane(part).get());
  world_.addChild(menu.get());
  showPairs(world_.turns().language());
}

void lumoLanguageMenu::remove() {
  lumoNodeActions::removeWithActions(world_.getNodeNamed(kMenuName));
}

void lumoLanguageMenu::showPairs(std::int32_t language) {
  CC3Node* menu = world_.getNodeNamed(kMenuName);
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

bool lumoLanguageMenu::tapped(CC3Node* button, std::int32_t language) {
  if (world_.turns().language() == language) return false;
  lumoNodeActions::flash(button);
  EventLog::log("language", "changing to " + std::to_string(language));
  const Selector<> finish = language == lmStageInfo::kLangEnglish
                                ? SELECTOR(lumoWorld::endChangeToCnLanguage)
                                : SELECTOR(lumoWorld::endChangeToEnLanguage);
  world_.titles().raiseCoverTitle(lumoLanguageTitles::otherLanguage(language), finish);
  showPairs(language);
  button->setVisible(false);
  return true;
}

void lumoLanguageMenu::finishChange(std::int32_t language) {
  world_.titles().hideCoverTitle(lumoLanguageTitles::otherLanguage(language));
  world_.titles().lowerCoverTitle(language);
  world_.turns().changeLanguage(language);
  // A narration still heard is in the language just left.
  world_.stopFollowingWords();
  KstSound::shared()->cancelSound();
  world_.playAsideSound();
  // The narrations one turn away are now the other language's.
  lumoPagePrefetch::shared().prefetchSounds(*world_.stage(), world_.turns().page(), language);
}
